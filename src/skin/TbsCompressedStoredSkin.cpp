#include "skin/TbsCompressedStoredSkin.h"

#include "skin/BmpFile.h"
#include "skin/SkinIni.h"
#include "skin/SkinValues.h"
#include "skin/TCustomZlibStream.h"

#include <QFile>
#include <QFileInfo>

#include <array>

namespace pixolo
{

namespace
{

QByteArray readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EFOpenError("Cannot open file \"" + path.toStdString() + "\". " + file.errorString().toStdString());
    }
    return file.readAll();
}

qint32 littleEndian(const uchar *b)
{
    return qint32(quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24);
}

} // namespace

TbsCompressedStoredSkin::TbsCompressedStoredSkin(QObject *parent)
    : QObject(parent)
{
}

void TbsCompressedStoredSkin::DecompressToStream(TStream &stream) const
{
    TMemoryStream source(m_compressedData);
    DecompressStream(stream, source, s_maxInflatedSize);
}

void TbsCompressedStoredSkin::ImportSkinFolder(const QString &path)
{
    const QStringList lines = SkinIni::splitLines(readWholeFile(path));
    const SkinIni ini(lines);
    for (const char *section : { "VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS", "SKINCONTROLS" }) {
        if (!ini.SectionExists(QLatin1String(section))) {
            return;
        }
    }
    const QString base = QFileInfo(path).absolutePath() + u'/';
    m_compressedData.clear();
    TMemoryStream container;
    writeContainerInteger(container, s_storedSkinVersion);
    for (const char *key : { "picture", "inactivepicture", "mask" }) {
        const QString name = ini.ReadString(QStringLiteral("PICTURES"), QLatin1String(key), QString());
        writeFlaggedBitmap(container, name.isEmpty() ? TBitmap() : loadBmpFile(base + name));
    }
    QStringList names;
    ReadStrings(ini, QStringLiteral("PICTURES"), QStringLiteral("activepictures"), names);
    const int declared = ini.ReadInteger(QStringLiteral("PICTURES"), QStringLiteral("activepicturescount"), 0);
    if (declared > names.size()) { // a picture without a name is a file that cannot be opened
        throw EFOpenError("Cannot open file \"" + base.toStdString() + "\": [PICTURES] counts "
            + std::to_string(declared) + " pictures but names " + std::to_string(names.size()));
    }
    writeContainerInteger(container, qint32(names.size()));
    for (const QString &name : names) {
        const QByteArray bmp = writeBmp(loadBmpFile(base + name));
        container.WriteBuffer(bmp.constData(), bmp.size());
    }
    writeContainerText(container, lines);
    if (container.Size() > s_maxInflatedSize) {
        // A window could not load it: refused here already.
        throw ECompressionError("the skin takes " + std::to_string(container.Size()) + " bytes, more than the "
            + std::to_string(s_maxInflatedSize) + " a skin may inflate to");
    }
    TMemoryStream compressed;
    CompressStream(container, compressed);
    m_compressedData = compressed.Data();
}

void TbsCompressedStoredSkin::ImportCompressedFile(const QString &path)
{
    m_compressedData.clear();
    TMemoryStream file(readWholeFile(path));
    if (readContainerInteger(file) > s_storedSkinVersion) {
        return;
    }
    const qint32 size = readContainerInteger(file);
    if (size <= 0) {
        return;
    }
    if (size > file.Remaining()) {
        throw EReadError("Stream read error");
    }
    m_compressedData = file.Rest().first(size).toByteArray();
}

qint32 readContainerInteger(TMemoryStream &stream)
{
    std::array<uchar, 4> bytes {};
    stream.ReadBuffer(bytes.data(), 4);
    return littleEndian(bytes.data());
}

TBitmap readContainerBitmap(TMemoryStream &stream)
{
    qsizetype consumed = 0;
    TBitmap bitmap = readBmp(stream.Rest(), &consumed);
    stream.Seek(consumed, soCurrent);
    return bitmap;
}

TBitmap readFlaggedBitmap(TMemoryStream &stream)
{
    char flag = 0;
    stream.ReadBuffer(&flag, 1);
    return flag == 0 ? readContainerBitmap(stream) : TBitmap();
}

QStringList readContainerText(TMemoryStream &stream)
{
    const QStringList lines = SkinIni::splitLines(stream.Rest());
    stream.Seek(0, soEnd);
    return lines;
}

void writeContainerInteger(TStream &stream, qint32 value)
{
    const auto v = quint32(value);
    const std::array<uchar, 4> bytes = { uchar(v), uchar(v >> 8), uchar(v >> 16), uchar(v >> 24) };
    stream.WriteBuffer(bytes.data(), 4);
}

void writeFlaggedBitmap(TStream &stream, const TBitmap &bitmap)
{
    const char flag = bitmap.Empty() ? 1 : 0;
    stream.WriteBuffer(&flag, 1);
    if (!bitmap.Empty()) {
        const QByteArray bmp = writeBmp(bitmap);
        stream.WriteBuffer(bmp.constData(), bmp.size());
    }
}

void writeContainerText(TStream &stream, const QStringList &lines)
{
    for (const QString &line : lines) {
        const QByteArray bytes = line.toUtf8() + "\r\n";
        stream.WriteBuffer(bytes.constData(), bytes.size());
    }
}

} // namespace pixolo
