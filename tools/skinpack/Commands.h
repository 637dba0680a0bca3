#pragma once

#include <QStringList>

#include <cstdio>

namespace pixolo {

// A subcommand gets its own arguments (after its name), writes its result to out and returns the exit status.
// Errors are thrown; main turns them into one line on stderr and status 1.
using SkinPackCommand = int (*)(const QStringList &args, std::FILE *out);

int packCommand(const QStringList &args, std::FILE *out);
int describeCommand(const QStringList &args, std::FILE *out);
int renderCommand(const QStringList &args, std::FILE *out);
int iconCommand(const QStringList &args, std::FILE *out);

// Reads or writes a whole file; std::runtime_error naming the file on failure.
QByteArray readFileBytes(const QString &path);
void writeFileBytes(const QString &path, const QByteArray &bytes);
// A size in pixels given on the command line: EConvertError when it is no number, std::runtime_error below 1.
int sizeArgument(const QString &text);

} // namespace pixolo
