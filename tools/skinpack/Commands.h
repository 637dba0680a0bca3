#pragma once

#include "platform/TBitmap.h"

#include <QStringList>

#include <cstdio>
#include <vector>

namespace pixolo
{

// A subcommand gets its own arguments (after its name), writes its result to out and returns the exit status.
// Errors are thrown; main turns them into one line on stderr and status 1.
using SkinPackCommand = int (*)(const QStringList &args, std::FILE *out);

int packCommand(const QStringList &args, std::FILE *out);
int describeCommand(const QStringList &args, std::FILE *out);
int renderCommand(const QStringList &args, std::FILE *out);
int iconCommand(const QStringList &args, std::FILE *out);

// A packed skin read as a window reads it, with what describe shows of it. Raises what the container reader, the
// pictures or the store raise, naming the first bad field.
struct PackedSkin {
    qint64 compressedSize = 0;
    qint64 inflatedSize = 0;
    qint32 version = 0;
    TBitmap picture;
    TBitmap inactive;
    TBitmap mask;
    std::vector<TBitmap> pictures;
    QStringList description;
    size_t objects = 0;
    size_t controls = 0;
};
PackedSkin readPackedSkin(const QByteArray &compressed);

class TbsSkinData;
// Loads a packed skin file into a store as a window does; errors name the file.
void loadSkinFile(const QString &path, TbsSkinData &store);

// Reads or writes a whole file; std::runtime_error naming the file on failure.
QByteArray readFileBytes(const QString &path);
void writeFileBytes(const QString &path, const QByteArray &bytes);
// A size in pixels given on the command line: EConvertError when it is no number, std::runtime_error below 1.
int sizeArgument(const QString &text);

} // namespace pixolo
