#pragma once

#include "platform/ui/ImagePickerController.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

// While it lives, the machine's picture sources are the ones it says, and
// the library's file chooser waits for the test to answer as the user would.
class ImagePickerStub {
public:
    explicit ImagePickerStub(bool library = true, bool camera = false)
    {
        setSources(library, camera);
        ImagePickerController::setFileChooser([this](QWidget* window, const QString& title,
                                                     const QStringList& nameFilters,
                                                     std::function<void(const QString&)> answer) {
            ++asked;
            askedOver = window;
            askedTitle = title;
            askedFilters = nameFilters;
            m_answer = std::move(answer);
        });
    }
    ~ImagePickerStub()
    {
        ImagePickerController::setSourceProbe({});
        ImagePickerController::setFileChooser({});
    }
    ImagePickerStub(const ImagePickerStub&) = delete;
    ImagePickerStub& operator=(const ImagePickerStub&) = delete;

    void setSources(bool library, bool camera)
    {
        ImagePickerController::setSourceProbe([library, camera](ImagePickerSourceType source) {
            return source == ImagePickerSourceType::Camera ? camera : library;
        });
    }
    // The chooser is up, waiting for an answer.
    bool isAsking() const { return static_cast<bool>(m_answer); }
    // Answers the chooser: a file, or an empty text to give up.
    void choose(const QString& path)
    {
        if (auto answer = std::exchange(m_answer, {}))
            answer(path);
    }
    // Keeps the chooser's answer to give it later (after the picker went).
    std::function<void(const QString&)> takeAnswer() { return std::exchange(m_answer, {}); }

    // A picture file of one colour, in a format the toolkit writes ("PNG", "JPG").
    static bool writePicture(const QString& path, const QSize& size, const QColor& colour, const char* format = "PNG")
    {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(colour);
        return picture.save(path, format);
    }

    int asked = 0;
    QWidget* askedOver = nullptr;
    QString askedTitle;
    QStringList askedFilters;

private:
    std::function<void(const QString&)> m_answer;
};
