#pragma once

#include "platform/TBitmap.h"
#include "skin/TStream.h"

#include <QByteArray>
#include <QObject>
#include <QStringList>

namespace pixolo
{

// The skin a window carries: one zlib stream (CompressedData) that inflates to the skin container.
//
// Container (integers 32-bit little-endian): version (≤ 3 is read); the form picture, the inactive form picture
// and the mask, each a flag byte (0: a BMP file follows, anything else: empty); for version 2 only, two more
// flagged pictures that are skipped; the count of numbered pictures and that many BMP files; then the
// description text to the end, lines ended by CR LF. Each BMP file's own size field says where it ends.
class TbsCompressedStoredSkin final : public QObject
{
    Q_OBJECT
public:
    static constexpr int s_storedSkinVersion = 3;
    // The largest container a skin may inflate to. A skin's pictures and description take a few hundred
    // kilobytes; the bound keeps a small damaged or hostile stream (zlib packs up to about 1000 to 1) from taking
    // gigabytes.
    static constexpr qint64 s_maxInflatedSize = qint64(32) << 20;

    explicit TbsCompressedStoredSkin(QObject *parent = nullptr);

    // Free text kept with the component; never interpreted.
    QString Description() const { return m_description; }
    void SetDescription(const QString &description) { m_description = description; }
    // The file names of the last imports; at run time they are only stored.
    QString FileName() const { return m_fileName; }
    void SetFileName(const QString &fileName) { m_fileName = fileName; }
    QString CompressedFileName() const { return m_compressedFileName; }
    void SetCompressedFileName(const QString &fileName) { m_compressedFileName = fileName; }

    const QByteArray &CompressedData() const { return m_compressedData; }
    void SetCompressedData(const QByteArray &data) { m_compressedData = data; }

    bool IsEmpty() const { return m_compressedData.isEmpty(); }
    // Inflates all of CompressedData into stream, from its position on. EDecompressionError on damage and for a
    // container larger than s_maxInflatedSize.
    void DecompressToStream(TStream &stream) const;

    // Packs a skin folder: the description at path (a skin.ini) and the BMP files it names, which lie beside it.
    // A description without [VERSION], [PICTURES], [FORMINFO], [SKINOBJECTS] and [SKINCONTROLS] changes
    // nothing; a missing or bad picture raises EFOpenError / EInvalidGraphic with CompressedData cleared, and a
    // container larger than s_maxInflatedSize raises ECompressionError.
    void ImportSkinFolder(const QString &path);
    // Takes the stream out of a compressed skin file: version (≤ 3), size, then that many bytes. A larger version
    // or a size of 0 or less leaves CompressedData empty; a size beyond the file's end raises EReadError.
    void ImportCompressedFile(const QString &path);

private:
    QString m_description;
    QString m_fileName;
    QString m_compressedFileName;
    QByteArray m_compressedData;
};

// The container's fields, read and written one at a time. Readers throw EReadError for missing bytes and
// EInvalidGraphic for a bad BMP file.
qint32 readContainerInteger(TMemoryStream &stream);
TBitmap readContainerBitmap(TMemoryStream &stream);
TBitmap readFlaggedBitmap(TMemoryStream &stream);
// The rest of the stream as lines (CR LF, CR or LF; no final break needed).
QStringList readContainerText(TMemoryStream &stream);

void writeContainerInteger(TStream &stream, qint32 value);
void writeFlaggedBitmap(TStream &stream, const TBitmap &bitmap);
void writeContainerText(TStream &stream, const QStringList &lines);

} // namespace pixolo
