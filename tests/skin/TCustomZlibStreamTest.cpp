// The zlib stream classes and the two stream routines.
#include "skin/TCustomZlibStream.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <string>

using namespace pixolo;

namespace
{

// Bytes that compress, but not to nothing: a repeating text with a counter in it.
QByteArray sample(qsizetype size)
{
    QByteArray bytes;
    for (int i = 0; bytes.size() < size; ++i) {
        bytes += "pixel " + QByteArray::number(i % 97) + ";";
    }
    bytes.truncate(size);
    return bytes;
}

QByteArray compress(const QByteArray &data)
{
    TMemoryStream source(data);
    TMemoryStream dest;
    CompressStream(source, dest);
    return dest.Data();
}

QByteArray decompress(const QByteArray &data)
{
    TMemoryStream source(data);
    TMemoryStream dest;
    DecompressStream(dest, source);
    return dest.Data();
}

template <class E> std::string thrown(const std::function<void()> &f)
{
    try {
        f();
    } catch (const E &e) {
        return e.what();
    }
    return "nothing thrown";
}

} // namespace

class ZlibRoundTripTest : public testing::TestWithParam<qsizetype>
{
};

TEST_P(ZlibRoundTripTest, CompressesAtMaximumAndInflatesBackExactly) // sizes around the 4096-byte buffer
{
    const QByteArray data = sample(GetParam());
    const QByteArray packed = compress(data);
    ASSERT_GE(packed.size(), 2);
    EXPECT_EQ(uchar(packed[0]), 0x78);
    EXPECT_EQ(uchar(packed[1]), 0xDA);
    EXPECT_EQ(decompress(packed), data);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ZlibRoundTripTest, testing::Values(0, 1, 4095, 4096, 4097, 100000));

TEST(TCompressionStreamTest, IsWriteOnlyAndReportsTheBytesTakenIn)
{
    TMemoryStream dest;
    TCompressionStream stream(clFastest, dest);
    stream.WriteBuffer("abcdef", 6);
    EXPECT_EQ(stream.Seek(0, soCurrent), 6);
    char byte = 0;
    EXPECT_EQ(thrown<ECompressionError>([&] { stream.Read(&byte, 1); }), "Invalid stream operation");
    EXPECT_EQ(thrown<ECompressionError>([&] { stream.Seek(1, soCurrent); }), "Invalid stream operation");
    EXPECT_EQ(thrown<ECompressionError>([&] { stream.Seek(0, soBeginning); }), "Invalid stream operation");
    stream.Finish();
    EXPECT_EQ(uchar(dest.Data()[1]), 0x01); // level index 1 is zlib level 1
    EXPECT_EQ(decompress(dest.Data()), "abcdef");
}

TEST(TCompressionStreamTest, GoesBackToItsPlaceWhenTheUnderlyingStreamWasMoved)
{
    const QByteArray data = sample(20000);
    TMemoryStream dest;
    dest.WriteBuffer("HEAD", 4);
    {
        TCompressionStream stream(clNone, dest); // stored blocks: every write reaches dest at once
        stream.WriteBuffer(data.constData(), 10000);
        dest.SetPosition(0); // someone else reads the head meanwhile
        stream.WriteBuffer(data.constData() + 10000, 10000);
    }
    ASSERT_EQ(dest.Data().left(4), "HEAD");
    EXPECT_EQ(decompress(dest.Data().mid(4)), data);
}

TEST(TDecompressionStreamTest, IsReadOnlyAndSeeksOnlyByReadingOrStartingOver)
{
    const QByteArray data = sample(10000);
    TMemoryStream source(compress(data));
    TDecompressionStream stream(source);
    QByteArray head(100, '\0');
    ASSERT_EQ(stream.Read(head.data(), 100), 100);
    EXPECT_EQ(head, data.left(100));
    EXPECT_EQ(stream.Seek(5000, soCurrent), 5100); // read and discard
    EXPECT_EQ(stream.Seek(6000, soBeginning), 6000);
    ASSERT_EQ(stream.Read(head.data(), 100), 100);
    EXPECT_EQ(head, data.mid(6000, 100));
    EXPECT_EQ(stream.Seek(0, soBeginning), 0); // starts over
    ASSERT_EQ(stream.Read(head.data(), 100), 100);
    EXPECT_EQ(head, data.left(100));
    EXPECT_EQ(thrown<EDecompressionError>([&] { stream.Seek(-1, soCurrent); }), "Invalid stream operation");
    EXPECT_EQ(thrown<EDecompressionError>([&] { stream.Seek(50, soBeginning); }), "Invalid stream operation");
    EXPECT_EQ(thrown<EDecompressionError>([&] { stream.Seek(0, soEnd); }), "Invalid stream operation");
    EXPECT_EQ(thrown<EDecompressionError>([&] { stream.Write("x", 1); }), "Invalid stream operation");
}

TEST(TDecompressionStreamTest, DamagedDataIsACompressionError)
{
    QByteArray packed = compress(sample(5000));
    for (qsizetype i = 2; i < 40; ++i) {
        packed[i] = char(packed[i] ^ 0x5A);
    }
    EXPECT_EQ(thrown<EDecompressionError>([&] { decompress(packed); }), "compression error");
    EXPECT_EQ(thrown<EDecompressionError>([&] { decompress("not zlib at all"); }), "compression error");
}

TEST(TDecompressionStreamTest, ACutStreamReadsShortButTheRoutineReportsIt)
{
    const QByteArray data = sample(50000);
    const QByteArray cut = compress(data).chopped(10);
    TMemoryStream source(cut);
    TDecompressionStream stream(source);
    QByteArray all(data.size(), '\0');
    const qint64 got = stream.Read(all.data(), all.size());
    EXPECT_LT(got, data.size());
    EXPECT_EQ(all.left(got), data.left(got));
    EXPECT_FALSE(stream.StreamEnded());
    // Half a skin must never pass for a whole one.
    EXPECT_EQ(thrown<EDecompressionError>([&] { decompress(cut); }), "compression error");
    EXPECT_EQ(thrown<EDecompressionError>([&] { decompress(QByteArray()); }), "compression error");
}

TEST(TDecompressionStreamTest, StopsAtTheEndMarkAndLeavesTrailingBytes)
{
    const QByteArray data = sample(3000);
    EXPECT_EQ(decompress(compress(data) + "trailing garbage"), data);
}

TEST(TDecompressionStreamTest, AStreamAskingForAPresetDictionaryFailsInsteadOfSpinning)
{
    // A valid header with the preset-dictionary flag (0x78 0xBB), a dictionary id, then data.
    const QByteArray packed = QByteArray::fromHex("78bb0000000103000000000001");
    EXPECT_EQ(thrown<EDecompressionError>([&] { decompress(packed); }), "compression error");
}
