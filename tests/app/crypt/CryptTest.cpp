// The entry cipher: keystream, in-memory cipher, password scrambler and the file runs of TKVCrypt.
#include "app/Crypt.h"

#include "TempFolder.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using quillory::CipherKeystream;
using quillory::TKVCrypt;

std::vector<int> AsInts(const std::string& bytes)
{
    std::vector<int> values;
    for (const char c : bytes)
        values.push_back(static_cast<unsigned char>(c));
    return values;
}

// Every byte value, repeated, so that each one meets many keystream values.
std::string AllByteValues(std::size_t length)
{
    std::string bytes(length, '\0');
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return bytes;
}

// The reference: one generator step per byte, as the stored format defines it.
std::string EncipherByteByByte(std::string bytes, std::uint32_t seed)
{
    CipherKeystream keystream(seed);
    for (char& c : bytes)
        c = static_cast<char>(static_cast<unsigned char>(c) + keystream.Next());
    return bytes;
}

TEST(CipherKeystream, FromSeedZeroStartsWithTheKnownValues)
{
    CipherKeystream keystream(0u);
    std::vector<int> values;
    for (int i = 0; i < 8; ++i)
        values.push_back(keystream.Next());
    EXPECT_EQ(values, (std::vector<int>{0, 8, 219, 51, 69, 171, 81, 41}));
}

TEST(CipherKeystream, SeedIgnoresLetterCaseAndOrderButNotOtherBytes)
{
    EXPECT_EQ(CipherKeystream::SeedFromPassword(""), 0u);
    EXPECT_EQ(CipherKeystream::SeedFromPassword("abc"), (65u + 66u + 67u) * 3u);
    EXPECT_EQ(CipherKeystream::SeedFromPassword("Diary 7"), CipherKeystream::SeedFromPassword("7 YRAId"));
    // Only a-z are folded; a byte above 127 keeps its value.
    EXPECT_EQ(CipherKeystream::SeedFromPassword("\xE9"), 0xE9u);
}

// The block-wise transform must give exactly the byte-by-byte keystream, whatever the length
// and however the bytes are split between calls.
TEST(CipherKeystream, BulkTransformMatchesOneStepPerByteAcrossSplits)
{
    const std::uint32_t seed = CipherKeystream::SeedFromPassword("Secret");
    for (const std::size_t length : {0u, 1u, 7u, 8u, 9u, 16u, 31u, 32u, 33u, 63u, 64u, 65u, 4095u, 4096u, 4097u}) {
        for (const std::size_t split : {0u, 1u, 3u, 8u, 13u}) {
            std::string bytes = AllByteValues(length);
            const std::string expected = EncipherByteByByte(bytes, seed);
            const std::size_t first = std::min(split, length);
            CipherKeystream keystream(seed);
            auto* data = reinterpret_cast<std::uint8_t*>(bytes.data());
            keystream.Encipher({data, first});
            keystream.Encipher({data + first, length - first});
            EXPECT_EQ(bytes, expected) << "length " << length << ", split " << split;
            // And the generator is left where a byte-by-byte run would leave it.
            CipherKeystream reference(seed);
            for (std::size_t i = 0; i < length; ++i)
                reference.Next();
            EXPECT_EQ(keystream.Next(), reference.Next()) << "length " << length << ", split " << split;
        }
    }
}

TEST(CipherBuffer, DeciphersWithAnyPasswordOfTheSameKey)
{
    const std::string plain = AllByteValues(5000);
    const std::string enciphered = quillory::EncipherBuffer(plain, "Diary 7");
    EXPECT_EQ(enciphered.size(), plain.size());
    EXPECT_NE(enciphered, plain);
    EXPECT_EQ(quillory::DecipherBuffer(enciphered, "Diary 7"), plain);
    EXPECT_EQ(quillory::DecipherBuffer(enciphered, "dIARY 7"), plain);
    EXPECT_EQ(quillory::DecipherBuffer(enciphered, "7 yraid"), plain);
    EXPECT_NE(quillory::DecipherBuffer(enciphered, "Diary 8"), plain);
}

TEST(PasswordScrambler, KnownAnswerAndRoundTrip)
{
    EXPECT_EQ(AsInts(quillory::EncryptString("abc")), (std::vector<int>{194, 201, 196}));
    EXPECT_EQ(quillory::Decryptstring("\xC2\xC9\xC4"), "abc");
    EXPECT_EQ(quillory::EncryptString(""), "");
    EXPECT_EQ(quillory::Decryptstring(""), "");
    // Every byte value at odd and even positions, for every length a password can have and more.
    for (std::size_t length = 1; length <= 12; ++length) {
        for (int value = 0; value < 256; ++value) {
            const std::string plain(length, static_cast<char>(value));
            EXPECT_EQ(quillory::Decryptstring(quillory::EncryptString(plain)), plain)
                << "length " << length << ", byte " << value;
        }
    }
}

class CryptFiles : public testing::Test {
protected:
    std::string Path(const char* name) const { return (folder.path() / name).string(); }

    // Runs the cipher as every caller does: input, output, password, then the run.
    bool Run(bool encipher, const std::string& in, const std::string& out, const std::string& password)
    {
        crypt.SetInputFile(in);
        crypt.SetOutputFile(out);
        crypt.SetPassword(password);
        return encipher ? crypt.Encrypt() : crypt.Decrypt();
    }

    TempFolder folder;
    std::vector<std::string> notices;
    std::vector<bool> busy;
    TKVCrypt crypt{[this](const std::string& text) { notices.push_back(text); },
                   [this](bool on) { busy.push_back(on); }};
};

TEST_F(CryptFiles, RoundTripKeepsLengthAndKeystreamRunsOnAcrossBlocks)
{
    for (const std::size_t length : {0u, 1u, 4095u, 4096u, 4097u, 8192u, 10000u}) {
        const std::string plain = AllByteValues(length);
        folder.write("plain.rtf", plain);
        ASSERT_TRUE(Run(true, Path("plain.rtf"), Path("20261206.QLE"), "Secret"));
        const std::string enciphered = folder.read("20261206.QLE");
        // Identical to the in-memory cipher: no restart of the keystream at a block boundary.
        EXPECT_EQ(enciphered, quillory::EncipherBuffer(plain, "Secret")) << "length " << length;

        ASSERT_TRUE(Run(false, Path("20261206.QLE"), Path("back.rtf"), "SECRET"));
        EXPECT_EQ(folder.read("back.rtf"), plain) << "length " << length;
    }
    EXPECT_TRUE(notices.empty());
}

TEST_F(CryptFiles, EmptyInputTruncatesAnExistingOutput)
{
    folder.write("empty.rtf", "");
    folder.write("out.QLE", "old content");
    ASSERT_TRUE(Run(true, Path("empty.rtf"), Path("out.QLE"), "x"));
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "out.QLE"));
    EXPECT_EQ(folder.read("out.QLE"), "");
}

TEST_F(CryptFiles, RefusedSettersShowTheirNoticeAndTheRunTouchesNothing)
{
    crypt.SetInputFile(Path("missing.rtf"));
    EXPECT_EQ(crypt.InputFile(), "");
    crypt.SetInputFile("");  // the empty name is accepted silently
    ASSERT_EQ(notices, std::vector<std::string>{"Input file does not exist."});

    folder.write("entry.QLE", "plain text");
    notices.clear();
    EXPECT_FALSE(Run(true, Path("entry.QLE"), Path("entry.QLE"), "x"));
    EXPECT_EQ(crypt.OutputFile(), "");
    EXPECT_EQ(notices, std::vector<std::string>{"InputFile and OutputFile must be different files."});
    EXPECT_EQ(folder.read("entry.QLE"), "plain text");
    EXPECT_TRUE(busy.empty());

    // The same name is accepted as output while no such file exists.
    crypt.SetInputFile("");
    crypt.SetOutputFile("");
    crypt.SetOutputFile(Path("new.QLE"));
    EXPECT_EQ(crypt.OutputFile(), Path("new.QLE"));
}

// The same file under another spelling passes the setter's text comparison. Before output was
// written through a temporary file, creating the output truncated the input first and the
// entry came out empty.
TEST_F(CryptFiles, OutputThatIsTheInputUnderAnotherNameIsTransformedNotLost)
{
    const std::string plain = AllByteValues(9000);
    folder.write("entry.QLE", plain);
    const std::string sameFile = (folder.path() / "." / "entry.QLE").string();
    ASSERT_TRUE(Run(true, Path("entry.QLE"), sameFile, "Secret"));
    EXPECT_EQ(folder.read("entry.QLE"), quillory::EncipherBuffer(plain, "Secret"));
}

TEST_F(CryptFiles, FailuresRaiseTheStreamErrorsAndLeaveNoFilesBehind)
{
    folder.write("plain.rtf", "abc");
    crypt.SetInputFile(Path("plain.rtf"));
    crypt.SetOutputFile(Path("no such folder/out.QLE"));
    try {
        crypt.Encrypt();
        FAIL() << "no error raised";
    } catch (const quillory::Error& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + Path("no such folder/out.QLE"));
    }

    crypt.SetOutputFile(Path("out.QLE"));
    std::filesystem::remove(folder.path() / "plain.rtf");  // gone after the setter checked it
    try {
        crypt.Decrypt();
        FAIL() << "no error raised";
    } catch (const quillory::Error& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + Path("plain.rtf"));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 0);
    // The busy signal was raised and lowered again for both runs.
    EXPECT_EQ(busy, (std::vector<bool>{true, false, true, false}));
}

TEST_F(CryptFiles, ReadErrorKeepsTheOldOutput)
{
    folder.write("entry.QLE", "the old entry");
    std::filesystem::create_directory(folder.path() / "a folder");
    crypt.SetInputFile(Path("a folder"));
    crypt.SetOutputFile(Path("entry.QLE"));
    EXPECT_THROW(crypt.Encrypt(), quillory::Error);
    EXPECT_EQ(folder.read("entry.QLE"), "the old entry");
}

} // namespace
