#pragma once

#include <QByteArray>
#include <QIODevice>

// A request body that can be read through once and never again. Qt's HTTP
// layer sends a request a second time by itself when the connection closes
// after the forum has read it but before any byte of the answer; it can only
// do so by rewinding the body. A call that changes the forum carries its
// body this way, so such a second send fails instead ("the content could not
// be sent again") and the forum never gets the call twice from one press.
class OneShotBody : public QIODevice {
public:
    explicit OneShotBody(QByteArray bytes, QObject* parent = nullptr);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    // Refused: the body has gone out once.
    bool reset() override { return false; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_read = 0;
};
