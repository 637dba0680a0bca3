#pragma once

#include <QString>

#include <optional>

namespace pixolo
{

// A small reader and writer of INI settings files, one value at a time.
//
// Section and key names match without regard to letter case; the first matching section and, within it, the first
// matching key win. Every other line of the file is kept byte for byte (comments, blank lines, unknown sections,
// LF or CRLF endings). Each call opens the file afresh and closes it before returning; nothing is cached. A write
// goes to a temporary file in the same folder that is then renamed over the old one, so a failed or interrupted
// write always leaves the old file whole (see AtomicFile for a settings file in a folder the user may not write, and
// for links). Files are UTF-8; a leading byte-order mark is skipped and kept. A line that is not valid UTF-8 is read
// in the Chinese Windows encoding (GB 18030), as editors there save files; the lines the program writes are UTF-8.
namespace PrivateProfile
{

// The value of the key, less surrounding blanks, or nothing when the file, the section or the key is missing. The
// file is read a line at a time up to the key, so a huge file costs no memory. A file that exists but cannot be read
// gives nothing too, and its reason in `problem` when given.
std::optional<QString> readString(
    const QString &fileName, const QString &section, const QString &key, QString *problem = nullptr);

// Writes the value, creating the file, the section and the key as needed. Line breaks in the value are dropped (a
// value is one line). Returns false, leaving the old file untouched, when the system refuses the write, with the
// system's reason in `problem` when given.
bool writeString(const QString &fileName, const QString &section, const QString &key, const QString &value,
    QString *problem = nullptr);

} // namespace PrivateProfile

} // namespace pixolo
