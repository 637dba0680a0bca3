// Fuzzes the settings file reader and writer with arbitrary files. The input gives a section name, a key, a value
// and then the file's bytes. Whatever the file holds, reading it must not fail, writing the value must succeed, the
// value must read back as written, writing it again must change nothing, and every other line of the file must
// still be there, in its order.
#include "FuzzCheck.h"

#include "platform/AtomicFile.h"
#include "platform/PrivateProfile.h"

#include <QDir>
#include <QFile>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{

// A name as callers give them: letters and digits only, never empty.
QString nameFrom(FuzzedDataProvider &input, const char *fallback)
{
    static constexpr char alphabet[] = "SETUPsetupPhotoPathCamera0123456789xyzXYZ";
    std::string name;
    const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, 12);
    for (std::size_t i = 0; i < length; ++i) {
        name += alphabet[input.ConsumeIntegralInRange<std::size_t>(0, sizeof alphabet - 2)];
    }
    return QString::fromStdString(name.empty() ? std::string(fallback) : name);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The file's lines without their endings and without carriage returns at their ends, a leading byte-order mark
// dropped. A last line that ends in a bare CR gets an LF after it when a line is added below, which makes the pair a
// CR LF ending: the bytes all stay, and a reader trims the CR either way.
QList<QByteArray> linesOf(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes.remove(0, 3);
    }
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();
    }
    for (QByteArray &line : lines) {
        while (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    return lines;
}

// Whether `after` is `before` with one line replaced, or with up to two lines inserted anywhere (a section header
// and a key), or unchanged.
bool keptInOrder(const QList<QByteArray> &before, const QList<QByteArray> &after, qsizetype i = 0, qsizetype j = 0,
    int replacements = 1, int insertions = 2)
{
    while (i < before.size() && j < after.size() && before[i] == after[j]) {
        ++i;
        ++j;
    }
    if (i == before.size()) {
        return after.size() - j <= insertions;
    }
    if (j == after.size()) {
        return false; // a line of the old file is gone
    }
    return (replacements > 0 && insertions == 2 && keptInOrder(before, after, i + 1, j + 1, replacements - 1, 0))
        || (insertions > 0 && replacements == 1 && keptInOrder(before, after, i, j + 1, 0, insertions - 1));
}

const QString &settingsPath()
{
    static const QString path = [] {
        char folder[] = "/tmp/pixolo-ini-fuzz-XXXXXX";
        const char *made = ::mkdtemp(folder);
        return QDir(QString::fromLocal8Bit(made ? made : "/tmp")).filePath(QStringLiteral("Pixolo.ini"));
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    pixolo::AtomicFile::setSyncFunction([](int) { return 0; }); // the disk is not what is tested
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace pixolo;
    FuzzedDataProvider input(data, size);
    const QString section = nameFrom(input, "Setup");
    const QString key = nameFrom(input, "PhotoPath");
    const std::string valueBytes = input.ConsumeRandomLengthString(300);
    const std::string fileBytes = input.ConsumeRemainingBytesAsString();
    const QString value = QString::fromUtf8(valueBytes.data(), qsizetype(valueBytes.size()));

    const QString &path = settingsPath();
    {
        QFile file(path);
        FUZZ_REQUIRE(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the fuzz folder takes files");
        file.write(fileBytes.data(), qint64(fileBytes.size()));
    }
    (void)PrivateProfile::readString(path, section, key);
    (void)PrivateProfile::readString(path, QStringLiteral("Setup"), QStringLiteral("PhotoPath"));

    FUZZ_REQUIRE(PrivateProfile::writeString(path, section, key, value), "a writable file takes a value");
    const QByteArray written = readAll(path);
    QByteArray expected = value.toUtf8();
    expected.replace('\r', QByteArray()).replace('\n', QByteArray());
    const std::optional<QString> back = PrivateProfile::readString(path, section, key);
    FUZZ_REQUIRE(back.has_value(), "a written key is found");
    FUZZ_REQUIRE(*back == QString::fromUtf8(expected.trimmed()), "a written value reads back");

    const QByteArray old = QByteArray::fromStdString(fileBytes);
    FUZZ_REQUIRE(old.startsWith("\xEF\xBB\xBF") == written.startsWith("\xEF\xBB\xBF"), "a byte-order mark stays");
    const QList<QByteArray> before = linesOf(old);
    const QList<QByteArray> after = linesOf(written);
    FUZZ_REQUIRE(after.size() <= before.size() + 2, "a write adds at most a section and a key");
    if (!keptInOrder(before, after)) {
        std::fprintf(stderr, "before:\n%s\nafter:\n%s\n", old.toHex(' ').constData(), written.toHex(' ').constData());
        FUZZ_REQUIRE(false, "the other lines stay, in their order");
    }

    FUZZ_REQUIRE(PrivateProfile::writeString(path, section, key, value), "a value can be written twice");
    FUZZ_REQUIRE(readAll(path) == written, "writing the same value again changes nothing");
    return 0;
}
