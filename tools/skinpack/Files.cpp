#include "Commands.h"

#include "platform/EConvertError.h"

#include <QFile>
#include <QSaveFile>

#include <stdexcept>

namespace pixolo
{

QByteArray readFileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("cannot read " + path.toStdString() + ": " + file.errorString().toStdString());
    }
    return file.readAll();
}

int sizeArgument(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok) {
        throw EConvertError::notAnInteger(text.toStdString());
    }
    if (value < 1) {
        throw std::runtime_error("a size of " + text.toStdString() + " pixels leaves nothing to draw");
    }
    return value;
}

void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path); // a failed run never leaves half a file behind
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw std::runtime_error("cannot write " + path.toStdString() + ": " + file.errorString().toStdString());
    }
}

} // namespace pixolo
