// SHA-256 against the standard's vectors and messages across the block and
// padding edges (55, 56, 64, 119 bytes), whole and fed in pieces, and of files.

#include <gtest/gtest.h>

#include <string>

#include "driver/ZuvanFatigueSha256.h"
#include "tests/ZuvanFatigueTestSupport.h"

using namespace ZuvanFatigueTest;

namespace {

struct Vector {
    std::string message;
    const char* digest;
};

const Vector kVectors[] = {
    {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    {std::string(55, 'x'), "d5e285683cd4efc02d021a5c62014694958901005d6f71e89e0989fac77e4072"},
    {std::string(56, 'x'), "04c26261370ee7541549d16dee320c723e3fd14671e66a099afe0a377c16888e"},
    {std::string(64, 'x'), "7ce100971f64e7001e8fe5a51973ecdfe1ced42befe7ee8d5fd6219506b5393c"},
    {std::string(119, 'x'), "000b48d4edf0fa7bee3c6236ecd2785baa5db4eeb8bb54341b029e0d9fa5fb0c"},
};

}  // namespace

TEST(ZuvanFatigueSha256, GivesTheKnownDigestsWholeInPiecesAndOfAFile) {
    TempDir dir;
    for (const Vector& v : kVectors) {
        SCOPED_TRACE(testing::Message() << v.message.size() << " bytes");
        EXPECT_EQ(ZuvanFatigueSha256::Of(v.message), v.digest);
        // Pieces of 1, 7 and 63 bytes straddle every block edge.
        for (std::size_t piece : {1u, 7u, 63u}) {
            if (v.message.size() > 1000 && piece == 1) continue;
            ZuvanFatigueSha256 sha;
            for (std::size_t at = 0; at < v.message.size(); at += piece) {
                sha.Update(v.message.data() + at, std::min(piece, v.message.size() - at));
            }
            EXPECT_EQ(sha.HexDigest(), v.digest) << "pieces of " << piece;
        }
        EXPECT_EQ(ZuvanFatigueSha256::OfFile(dir.Write("m", v.message)), v.digest);
    }
    EXPECT_EQ(ZuvanFatigueSha256::OfFile(dir.Path() + "/none"), "");
    EXPECT_EQ(ZuvanFatigueSha256::OfFile(dir.Path()), "");  // a folder
}
