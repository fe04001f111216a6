#include "ForumPictures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTimeZone>

using namespace Qt::Literals::StringLiterals;

namespace {

// The "Date" form; Qt's RFC 2822 reading does not take the "GMT" zone name.
QDateTime parseHttpDate(const QString& text)
{
    QDateTime time = QLocale::c().toDateTime(text.trimmed(), u"ddd, dd MMM yyyy hh:mm:ss 'GMT'"_s);
    time.setTimeZone(QTimeZone::utc());
    return time;
}

}  // namespace

QDateTime ForumPictures::now()
{
    return QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch(), QTimeZone::utc());
}

QString ForumPictures::httpDate(const QDateTime& time)
{
    return QLocale::c().toString(time.toUTC(), u"ddd, dd MMM yyyy hh:mm:ss 'GMT'"_s);
}

std::string ForumPictures::typeOf(const QString& name)
{
    const QString suffix = QFileInfo(name).suffix().toLower();
    if (suffix == u"png")
        return "image/png";
    if (suffix == u"jpg" || suffix == u"jpeg")
        return "image/jpeg";
    if (suffix == u"gif")
        return "image/gif";
    return "application/octet-stream";
}

void ForumPictures::loadFolder(const QString& folder)
{
    const QDateTime stamp = now();
    const QDir root(folder);
    QDirIterator files(folder, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (file.open(QIODevice::ReadOnly))
            m_pictures.insert(root.relativeFilePath(file.fileName()), Picture{file.readAll(), stamp});
    }
}

void ForumPictures::store(const QString& name, const QByteArray& bytes)
{
    m_pictures.insert(name, Picture{bytes, now()});
}

void ForumPictures::replace(const QString& name, const QByteArray& bytes)
{
    const QDateTime stamp = now();
    Picture& picture = m_pictures[name];
    picture.stamp = picture.stamp.isValid() && picture.stamp >= stamp ? picture.stamp.addSecs(1) : stamp;
    picture.bytes = bytes;
}

std::optional<ForumPictures::Picture> ForumPictures::find(const QString& name) const
{
    const auto found = m_pictures.constFind(name);
    return found == m_pictures.constEnd() ? std::nullopt : std::optional<Picture>(*found);
}

QString ForumPictures::dateOf(const QString& name) const
{
    const auto found = m_pictures.constFind(name);
    return found == m_pictures.constEnd() ? QString() : httpDate(found->stamp);
}

ForumPictures::Served ForumPictures::serve(const std::optional<Picture>& picture, const std::string& type,
                                           const QString& ifModifiedSince, int failStatus, bool omitDate)
{
    Served served;
    if (failStatus || !picture) {
        served.status = failStatus ? failStatus : 404;
        served.body = served.status == 200 ? QByteArrayLiteral("this is not a picture")
                                           : QByteArrayLiteral("no such picture");
        served.type = "text/plain";
        return served;
    }
    const QString stamp = httpDate(picture->stamp);
    if (!omitDate)
        served.headers.emplace_back("Date", stamp.toStdString());
    served.headers.emplace_back("Last-Modified", stamp.toStdString());
    const QString since = ifModifiedSince.trimmed();
    const QDateTime sinceTime = parseHttpDate(since);
    if (!since.isEmpty() && (since == stamp || (sinceTime.isValid() && sinceTime >= picture->stamp))) {
        served.status = 304;
        return served;
    }
    served.body = picture->bytes;
    served.type = type;
    return served;
}
