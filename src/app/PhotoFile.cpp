#include "app/PhotoFile.h"

#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstring>

namespace pixolo::PhotoFile {

namespace {

constexpr int kMaxNumberedNames = 10000;

// Built by concatenation: a file name may itself hold "%1"-like text.
std::string createError(const QString &name, const QString &reason)
{
    return (QStringLiteral("Cannot create file \"") + name + QStringLiteral("\". ") + reason).toStdString();
}

} // namespace

QString withoutControlCharacters(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Control) {
            result += c;
        }
    }
    return result;
}

QString settingsText(const QString &text)
{
    return withoutControlCharacters(text).trimmed();
}

QString timeStamp(const QDateTime &when)
{
    return when.toString(QStringLiteral("yyyyMMddHHmmss"));
}

QString fileName(const QString &pathText, const QDateTime &when)
{
    return withoutControlCharacters(pathText) + timeStamp(when) + QStringLiteral(".jpg");
}

QString store(const QString &pathText, const QDateTime &when, const QByteArray &jpeg)
{
    const QString base = withoutControlCharacters(pathText) + timeStamp(when);
    const QString first = base + QStringLiteral(".jpg");
    for (int number = 1; number <= kMaxNumberedNames; ++number) {
        const QString name = number == 1 ? first : base + QStringLiteral("-%1.jpg").arg(number);
        const AtomicFile::Result result = AtomicFile::write(name, jpeg, AtomicFile::NoReplace);
        if (result.ok) {
            return name;
        }
        if (result.error != EEXIST) {
            throw ECreateFileError(
                createError(name, result.errorText()));
        }
    }
    throw ECreateFileError(
        createError(first, QString::fromLocal8Bit(std::strerror(EEXIST))));
}

} // namespace pixolo::PhotoFile
