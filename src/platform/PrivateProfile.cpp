#include "platform/PrivateProfile.h"

#include "platform/AtomicFile.h"
#include "platform/TextDecoding.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <malloc.h>
#include <vector>

namespace pixolo::PrivateProfile
{

namespace
{

// One line of the file as it stands, ending included, so that untouched lines are written back unchanged.
struct Line {
    QByteArray text; // without the line ending
    QByteArray ending; // "\n", "\r\n" or empty for a last line without one
};

// Past this size, the memory a rewrite took is handed back to the system at once.
constexpr qsizetype kTrimAfterBytes = 1024 * 1024;

// A UTF-8 byte-order mark, as some editors put at the start: not part of the first line, and kept on writing.
constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

// Each line is read on its own: UTF-8 when it is valid UTF-8, else the Chinese Windows encoding that editors there
// save in. Lines the program writes are UTF-8, and the other lines of such a file stay as they are, so one file can
// hold both.
QString decode(const QByteArray &bytes)
{
    return TextDecoding::fromUtf8OrGb18030(bytes);
}

std::vector<Line> splitLines(const QByteArray &data)
{
    std::vector<Line> lines;
    qsizetype start = 0;
    while (start < data.size()) {
        const qsizetype lf = data.indexOf('\n', start);
        if (lf < 0) {
            lines.push_back({ data.mid(start), {} });
            break;
        }
        const bool crlf = lf > start && data.at(lf - 1) == '\r';
        lines.push_back({ data.mid(start, lf - start - (crlf ? 1 : 0)), crlf ? QByteArrayLiteral("\r\n") : "\n" });
        start = lf + 1;
    }
    return lines;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<QString> sectionName(const QByteArray &line)
{
    const QByteArray trimmed = line.trimmed();
    if (trimmed.size() < 2 || trimmed.front() != '[') {
        return std::nullopt;
    }
    const qsizetype close = trimmed.indexOf(']');
    if (close < 0) {
        return std::nullopt;
    }
    return decode(trimmed.mid(1, close - 1)).trimmed();
}

// The key and value of a "key=value" line; comments (";" or "#") and lines without "=" have none.
std::optional<std::pair<QString, QByteArray>> keyValue(const QByteArray &line)
{
    const QByteArray trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.front() == ';' || trimmed.front() == '#') {
        return std::nullopt;
    }
    const qsizetype eq = line.indexOf('=');
    if (eq < 0) {
        return std::nullopt;
    }
    return std::pair { decode(line.left(eq)).trimmed(), line.mid(eq + 1).trimmed() };
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where the section's lines are: the header's index and one past its last line.
struct SectionSpan {
    qsizetype header = -1;
    qsizetype end = -1;
};

SectionSpan findSection(const std::vector<Line> &lines, const QString &section)
{
    SectionSpan span;
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        const auto name = sectionName(lines[size_t(i)].text);
        if (!name) {
            continue;
        }
        if (span.header >= 0) {
            span.end = i;
            return span;
        }
        if (sameName(*name, section)) {
            span.header = i;
        }
    }
    if (span.header >= 0) {
        span.end = qsizetype(lines.size());
    }
    return span;
}

qsizetype findKey(const std::vector<Line> &lines, SectionSpan span, const QString &key)
{
    for (qsizetype i = span.header + 1; i < span.end; ++i) {
        const auto kv = keyValue(lines[size_t(i)].text);
        if (kv && sameName(kv->first, key)) {
            return i;
        }
    }
    return -1;
}

// New lines take the ending the file already uses, so a CRLF file stays CRLF.
QByteArray preferredEnding(const std::vector<Line> &lines)
{
    for (const Line &line : lines) {
        if (!line.ending.isEmpty()) {
            return line.ending;
        }
    }
    return QByteArrayLiteral("\n");
}

} // namespace

std::optional<QString> readString(const QString &fileName, const QString &section, const QString &key, QString *problem)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (problem && QFileInfo::exists(fileName)) {
            *problem = file.errorString();
        }
        return std::nullopt;
    }
    // The first section of that name counts: its end, or the file's, ends the search.
    bool inSection = false;
    for (bool first = true; !file.atEnd(); first = false) {
        QByteArray line = file.readLine();
        if (first && line.startsWith(kByteOrderMark)) {
            line.remove(0, kByteOrderMark.size());
        }
        if (line.endsWith('\n')) {
            line.chop(line.endsWith("\r\n") ? 2 : 1);
        }
        if (const auto name = sectionName(line)) {
            if (inSection) {
                return std::nullopt;
            }
            inSection = sameName(*name, section);
            continue;
        }
        if (inSection) {
            const auto kv = keyValue(line);
            if (kv && sameName(kv->first, key)) {
                return decode(kv->second);
            }
        }
    }
    return std::nullopt;
}

bool writeString(
    const QString &fileName, const QString &section, const QString &key, const QString &value, QString *problem)
{
    const auto refused = [problem](const QString &reason) {
        if (problem) {
            *problem = reason;
        }
        return false;
    };
    QByteArray old;
    {
        QFile file(fileName);
        const QFileInfo info(fileName); // through a link to a file not made yet: nothing to keep
        if (info.exists()) {
            // A read-only settings file is refused, as is one we cannot read back (its lines must be kept).
            if (!info.isWritable()) {
                return refused(QString::fromLocal8Bit(std::strerror(EACCES)));
            }
            if (!file.open(QIODevice::ReadOnly)) {
                return refused(file.errorString());
            }
            old = file.readAll();
        }
    }
    const bool byteOrderMark = old.startsWith(kByteOrderMark);
    std::vector<Line> lines = splitLines(byteOrderMark ? old.mid(kByteOrderMark.size()) : old);
    const QByteArray ending = preferredEnding(lines);
    QByteArray oneLine = value.toUtf8();
    oneLine.replace('\r', QByteArray()).replace('\n', QByteArray());

    SectionSpan span = findSection(lines, section);
    if (span.header < 0) {
        if (!lines.empty() && lines.back().ending.isEmpty()) {
            lines.back().ending = ending;
        }
        lines.push_back({ '[' + section.toUtf8() + ']', ending });
        span = { qsizetype(lines.size()) - 1, qsizetype(lines.size()) };
    }
    const qsizetype at = findKey(lines, span, key);
    if (at >= 0) {
        // Keep the key as the file spells it; only the value changes.
        Line &line = lines[size_t(at)];
        line.text = line.text.left(line.text.indexOf('=')).trimmed() + '=' + oneLine;
    } else {
        // After the section's last non-blank line, so blank separators stay between sections.
        qsizetype insertAt = span.header + 1;
        for (qsizetype i = span.header + 1; i < span.end; ++i) {
            if (!lines[size_t(i)].text.trimmed().isEmpty()) {
                insertAt = i + 1;
            }
        }
        if (lines[size_t(insertAt - 1)].ending.isEmpty()) {
            lines[size_t(insertAt - 1)].ending = ending;
        }
        lines.insert(lines.begin() + insertAt, Line { key.toUtf8() + '=' + oneLine, ending });
    }

    QByteArray data;
    data.reserve(old.size() + oneLine.size() + 64);
    if (byteOrderMark) {
        data += kByteOrderMark;
    }
    for (const Line &line : lines) {
        data += line.text;
        data += line.ending;
    }
    const AtomicFile::Result written = AtomicFile::write(fileName, data);
    if (old.size() > kTrimAfterBytes) {
        // A large file's lines were many small blocks: give the freed memory back to the system.
        old = QByteArray();
        data = QByteArray();
        lines = {};
        ::malloc_trim(0);
    }
    return written.ok || refused(written.errorText());
}

} // namespace pixolo::PrivateProfile
