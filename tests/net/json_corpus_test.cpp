#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "net/json_object.h"

namespace tamrivo {
namespace {

namespace fs = std::filesystem;

// The corpus follows the public JSON test suites: y_ files hold JSON documents (none of
// them null) that must parse, n_ files texts that must not, i_ files cases where either
// answer will do as long as nothing breaks. Texts are GBK like every reply.
std::vector<fs::path> corpusFiles(char kind) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(TAMRIVO_JSON_CORPUS_DIR)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 2 && name[0] == kind && name[1] == '_') {
            files.push_back(entry.path());
        }
    }
    return files;
}

Text contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Text(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(JsonCorpus, EveryValidDocumentIsAccepted) {
    const auto files = corpusFiles('y');
    ASSERT_GE(files.size(), 20u);
    for (const fs::path& file : files) {
        JsonObject document;
        EXPECT_TRUE(document.parse(contents(file))) << file.filename();
        EXPECT_NE(document.typeOf(), JsonKind::Null) << file.filename();
    }
}

TEST(JsonCorpus, EveryInvalidTextIsRefusedAndLeavesNoDocument) {
    const auto files = corpusFiles('n');
    ASSERT_GE(files.size(), 40u);
    for (const fs::path& file : files) {
        JsonObject document;
        EXPECT_FALSE(document.parse(contents(file))) << file.filename();
        EXPECT_EQ(document.typeOf(), JsonKind::Null) << file.filename();
        EXPECT_EQ(document.readText("a"), "") << file.filename();
    }
}

TEST(JsonCorpus, ImplementationDefinedCasesLeaveAUsableObject) {
    const auto files = corpusFiles('i');
    ASSERT_GE(files.size(), 5u);
    for (const fs::path& file : files) {
        JsonObject document;
        document.parse(contents(file));
        EXPECT_TRUE(document.parse(R"({"after":"yes"})")) << file.filename();
        EXPECT_EQ(document.text("after"), "yes") << file.filename();
    }
}

}  // namespace
}  // namespace tamrivo
