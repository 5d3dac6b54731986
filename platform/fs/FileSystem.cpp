#include "platform/fs/FileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

#include <cstdio>
#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace fsys {

static const char *kHiddenAttr = "user.tarv.hidden";

static QSet<QString> &HiddenInMemory()
{
    static QSet<QString> s;
    return s;
}

std::optional<QString> ReadUnicodeText(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    QStringDecoder::Encoding enc = QStringDecoder::Utf16LE;
    qsizetype skip = 0;
    if (bytes.startsWith("\xFF\xFE")) {
        skip = 2;
    } else if (bytes.startsWith("\xFE\xFF")) {
        enc = QStringDecoder::Utf16BE;
        skip = 2;
    }
    QStringDecoder dec(enc, QStringDecoder::Flag::Stateless);
    QString text = dec(QByteArrayView(bytes).sliced(skip));
    return text;
}

bool FileExists(const QString &path)
{
    return QFileInfo::exists(path);
}

bool DeleteFile(const QString &path)
{
    HiddenInMemory().remove(QFileInfo(path).absoluteFilePath());
    if (!QFileInfo::exists(path))
        return true;
    return QFile::remove(path);
}

bool MoveFile(const QString &from, const QString &to)
{
    if (QFileInfo::exists(to))
        return false;
    const QByteArray a = QFile::encodeName(from), b = QFile::encodeName(to);
    if (::rename(a.constData(), b.constData()) != 0)
        return false;
    const QString absFrom = QFileInfo(from).absoluteFilePath();
    if (HiddenInMemory().remove(absFrom))
        HiddenInMemory().insert(QFileInfo(to).absoluteFilePath());
    return true;
}

bool ReplaceFile(const QString &from, const QString &to)
{
    const QByteArray a = QFile::encodeName(from), b = QFile::encodeName(to);
    if (::rename(a.constData(), b.constData()) != 0)
        return false;
    HiddenInMemory().remove(QFileInfo(to).absoluteFilePath());
    if (HiddenInMemory().remove(QFileInfo(from).absoluteFilePath()))
        HiddenInMemory().insert(QFileInfo(to).absoluteFilePath());
    return true;
}

void SetAttributes(const QString &path, int attributes)
{
    const QString abs = QFileInfo(path).absoluteFilePath();
    const QByteArray name = QFile::encodeName(abs);
    if (attributes & Hidden) {
        HiddenInMemory().insert(abs);
        ::setxattr(name.constData(), kHiddenAttr, "1", 1, 0);
    } else {
        HiddenInMemory().remove(abs);
        ::removexattr(name.constData(), kHiddenAttr);
    }
}

int GetAttributes(const QString &path)
{
    const QString abs = QFileInfo(path).absoluteFilePath();
    if (HiddenInMemory().contains(abs))
        return Hidden;
    char v = 0;
    if (::getxattr(QFile::encodeName(abs).constData(), kHiddenAttr, &v, 1) == 1 && v == '1')
        return Hidden;
    return Normal;
}

bool SyncFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    int fd = ::open(name.constData(), O_RDONLY);
    if (fd < 0)
        return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    const QByteArray dir = QFile::encodeName(QFileInfo(path).absolutePath());
    fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    return ok;
}

} // namespace fsys
