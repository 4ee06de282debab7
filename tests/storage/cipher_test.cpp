#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "storage/cipher.h"

using namespace dlt;

namespace {

std::string fromHex(std::string_view hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    return out;
}

std::string toHex(std::string_view bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out.push_back(digits[c >> 4]);
        out.push_back(digits[c & 15]);
    }
    return out;
}

unsigned char reversed(unsigned char b) {
    unsigned char r = 0;
    for (int i = 0; i < 8; ++i)
        if (b & (1u << i))
            r = static_cast<unsigned char>(r | (0x80u >> i));
    return r;
}

// A standard DES key given to the cipher as it reads keys: each byte bit-reversed.
std::string asStoredKey(std::string_view standardHex) {
    std::string key = fromHex(standardHex);
    for (char& c : key)
        c = static_cast<char>(reversed(static_cast<unsigned char>(c)));
    return key;
}

// 39 characters, as the program builds it: password text + 32 hex digits.
const std::string kKeyText = "Quorvel2bb571599a4180e1d542f76904adc3df";

std::string envelopeOf(std::int32_t lengthWord, std::string payload, std::size_t size) {
    std::string plain(size, '\0');
    for (int i = 0; i < 4; ++i)
        plain[static_cast<std::size_t>(i)] =
            static_cast<char>((static_cast<std::uint32_t>(lengthWord) >> (8 * i)) & 0xFF);
    plain.replace(4, payload.size(), payload);
    plain.resize(size, '\0');
    const std::string key = foldKeyBlock(kKeyText);
    std::string out;
    for (std::size_t at = 0; at < size; at += 8)
        out += desEncryptBlock(plain.substr(at, 8), key);
    return out;
}

} // namespace

TEST(Des, PublishedVectorsWithBitReversedKeyBytes) {
    struct Vector {
        const char* key;
        const char* plain;
        const char* cipher;
    };
    const Vector vectors[] = {
        {"133457799bbcdff1", "0123456789abcdef", "85e813540f0ab405"},
        {"0e329232ea6d0d73", "8787878787878787", "0000000000000000"},
        {"0123456789abcdef", "4e6f772069732074", "3fa40e8a984d4815"},
        {"0101010101010101", "8000000000000000", "95f8a5e5dd31d900"},
    };
    for (const auto& v : vectors) {
        SCOPED_TRACE(v.key);
        const std::string key = asStoredKey(v.key);
        EXPECT_EQ(toHex(desEncryptBlock(fromHex(v.plain), key)), v.cipher);
        EXPECT_EQ(toHex(desDecryptBlock(fromHex(v.cipher), key)), v.plain);
    }
}

TEST(Des, MostSignificantKeyBitIsTheIgnoredOne) {
    const std::string key = foldKeyBlock(kKeyText);
    const std::string block = "12345678";
    const std::string reference = desEncryptBlock(block, key);
    for (std::size_t i = 0; i < 8; ++i) {
        std::string high = key, low = key;
        high[i] = static_cast<char>(high[i] ^ 0x80);
        low[i] = static_cast<char>(low[i] ^ 0x01);
        EXPECT_EQ(desEncryptBlock(block, high), reference) << "byte " << i;
        EXPECT_NE(desEncryptBlock(block, low), reference) << "byte " << i;
    }
}

TEST(KeyBlock, FoldsTheKeyTextByXorInFivePasses) {
    EXPECT_EQ(foldKeyBlock(""), std::string(8, '\0'));
    EXPECT_EQ(foldKeyBlock("ABCDEFGH"), "ABCDEFGH");
    EXPECT_EQ(toHex(foldKeyBlock(std::string("ABCDEFGH") + "\x01\x02")), toHex("@@CDEFGH"));
    EXPECT_EQ(toHex(foldKeyBlock(kKeyText)), "53763d7873673b5f");
    for (unsigned char c : foldKeyBlock(kKeyText))
        EXPECT_LT(c, 0x80);
}

TEST(Envelope, SizesFollowTheLengthWordAndPadding) {
    struct Case {
        std::size_t n, size;
    };
    for (const Case c : {Case{4, 8}, Case{5, 16}, Case{10, 16}, Case{12, 16}, Case{13, 24},
                         Case{368 * 5, 1848}, Case{368 * 10, 3688}, Case{368 * 4, 1480}}) {
        const std::string data(c.n, '7');
        const std::string sealed = encipherEnvelope(data, kKeyText);
        EXPECT_EQ(sealed.size(), c.size) << c.n;
        EXPECT_EQ(decipherEnvelope(sealed, kKeyText), data) << c.n;
    }
    EXPECT_TRUE(encipherEnvelope("", kKeyText).empty());
    EXPECT_TRUE(decipherEnvelope("", kKeyText).empty());
}

TEST(Envelope, MatchesFilesWrittenByAnotherImplementation) {
    // Enciphered independently (openssl enc -des-ecb with the bit-reversed
    // folded key) from the same key text.
    EXPECT_EQ(toHex(encipherEnvelope("0102030405", kKeyText)), "d0044a2571119da76f43a2a8ecc80c7c");
    EXPECT_EQ(toHex(encipherEnvelope("25128", kKeyText)), "06f5f893298418a7cef736a74a8493c8");
    EXPECT_EQ(toHex(encipherEnvelope("1112", kKeyText)), "fb01b960ab3ee142");
    EXPECT_EQ(decipherEnvelope(fromHex("d0044a2571119da76f43a2a8ecc80c7c"), kKeyText),
              "0102030405");
    EXPECT_EQ(decipherEnvelope(fromHex("fb01b960ab3ee142"), kKeyText), "1112");
}

TEST(Envelope, RejectsEverythingButOneExactEnvelope) {
    const std::string sealed = encipherEnvelope("0102030405", kKeyText);
    EXPECT_TRUE(decipherEnvelope(sealed.substr(0, 15), kKeyText).empty()) << "not a multiple of 8";
    EXPECT_TRUE(decipherEnvelope(sealed + "x", kKeyText).empty());
    EXPECT_TRUE(decipherEnvelope(sealed.substr(0, 8), kKeyText).empty())
        << "length word past the end";
    EXPECT_TRUE(decipherEnvelope(sealed + sealed.substr(0, 8), kKeyText).empty())
        << "one block too many";

    EXPECT_TRUE(decipherEnvelope(envelopeOf(0, "", 8), kKeyText).empty()) << "length 0";
    EXPECT_TRUE(decipherEnvelope(envelopeOf(-1, "abcd", 8), kKeyText).empty()) << "negative length";
    EXPECT_TRUE(decipherEnvelope(envelopeOf(5, "abcde", 8), kKeyText).empty()) << "n > L - 4";
    EXPECT_TRUE(decipherEnvelope(envelopeOf(4, "abcd", 16), kKeyText).empty()) << "L >= n + 12";
    EXPECT_EQ(decipherEnvelope(envelopeOf(5, "abcde", 16), kKeyText), "abcde") << "n + 11 == L";
    EXPECT_EQ(decipherEnvelope(envelopeOf(12, "abcdefghijkl", 16), kKeyText), "abcdefghijkl")
        << "n == L - 4";
}

TEST(Envelope, KeepsZeroBytesAndRejectsAnotherKey) {
    const std::string data("12\0"
                           "34",
                           5);
    EXPECT_EQ(decipherEnvelope(encipherEnvelope(data, kKeyText), kKeyText), data);

    const std::string otherKey = "Quorvel" + digestHex("another installation");
    for (const std::string& text :
         {std::string("1112"), std::string("0102030405"), std::string(3680, '1')})
        EXPECT_TRUE(decipherEnvelope(encipherEnvelope(text, kKeyText), otherKey).empty())
            << text.size();
}

TEST(Digest, Md5AsLowercaseHex) {
    EXPECT_EQ(digestHex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(digestHex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(
        digestHex(
            "12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
        "57edf4a22be3c955ac49da2e2107b67a");
    std::string secret;
    for (int i = 0; i < 10000; ++i)
        secret.push_back(static_cast<char>('0' + i % 10));
    EXPECT_EQ(digestHex(secret), "2bb571599a4180e1d542f76904adc3df");
}

TEST(Envelope, ReusingUnchangedBlocksGivesTheSameBytes) {
    std::mt19937 random(7);
    std::string text;
    for (int i = 0; i < 300; ++i)
        text.push_back(static_cast<char>('0' + random() % 10));
    const std::string before = encipherEnvelope(text, kKeyText);
    const std::string plain = decipherBlocks(before, kKeyText);

    std::string firstChanged = text, middleChanged = text;
    firstChanged[0] = firstChanged[0] == '9' ? '8' : '9';
    middleChanged.replace(150, 2, "77");
    const std::string edits[] = {text + "0102030405", text.substr(0, 290), text.substr(0, 1),
                                 std::string(),       firstChanged,        middleChanged};
    for (const auto& edited : edits)
        EXPECT_EQ(encipherEnvelopeReusing(edited, kKeyText, before, plain),
                  encipherEnvelope(edited, kKeyText))
            << edited.size();
    // A damaged earlier file only costs the reuse, never the result.
    EXPECT_EQ(encipherEnvelopeReusing(text, kKeyText, before.substr(0, 40), plain),
              encipherEnvelope(text, kKeyText));
    EXPECT_EQ(encipherEnvelopeReusing(text, kKeyText, "", ""), before);
}
