// Message texts from the string table or a language file, seen through the entry points.
// Every test loads the module afresh, since the language settings are read once per load.
#include "DynamicLibrary.h"
#include "StandInHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

const char kHostIni[] = "TBXROVAN.INI";

class MessagesTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (const std::string& path : m_files)
            std::remove(path.c_str());
    }

    void WriteFile(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
        m_files.push_back(path);
    }

    void WriteHostIni(const std::string& text) {
        WriteFile(platform::WindowsFolder() + "/" + kHostIni, text);
    }

    // A language file beside the module.
    void WriteLanguageFile(const std::string& code, const std::string& text) {
        WriteFile(platform::ProgramFolder() + "TBXELANG." + code, text);
    }

    void Load() {
        m_host.reset();
        m_module = std::make_unique<qvhost::Module>(qvhost::Module::DefaultPath());
        m_host = std::make_unique<qvhost::StandInHost>(*m_module);
    }

    std::string Description(int32_t nSize = 260) {
        char sz[260] = {};
        m_module->Query(EXT_QUERY_MODULE_INFO, sz, nSize);
        return sz;
    }

    void InfoWithoutBuffer() { m_module->Query(EXT_QUERY_MODULE_INFO, nullptr, 0); }

    // The text of message 20002, through a constant lookup that misses.
    std::string NotFoundMessage() {
        const qvhost::Outcome out = m_host->Call(8, {qvhost::Arg::Str("no such name")});
        EXPECT_EQ(EXT_STATUS_LOOKUP_ERROR, out.nStatus);
        return out.text.value_or("(null)");
    }

    std::unique_ptr<qvhost::Module> m_module;
    std::unique_ptr<qvhost::StandInHost> m_host;
    std::vector<std::string> m_files;
};

} // namespace

TEST_F(MessagesTest, StringTableWithoutLanguageFile) {
    WriteHostIni("[MAIN]\nLanguage=q0\n");
    Load();
    EXPECT_EQ("qvPalvek KEL Extender.", Description());
    EXPECT_EQ("20002: Constant Not Found.", NotFoundMessage());
}

TEST_F(MessagesTest, LanguageFileSectionNamedAfterTheModule) {
    WriteHostIni("[MAIN]\nLanguage=q1\n");
    WriteLanguageFile("q1", "[qvPalvek Extender]\nX20002=a~b|c\nX101=Beschreibung\n"
                            "[ Extender]\nX20002=wrong section\n");
    Load();
    InfoWithoutBuffer(); // stores the base name before the first message lookup
    EXPECT_EQ("a\nb\tc", NotFoundMessage());
    EXPECT_EQ("Beschreibung", Description());
}

TEST_F(MessagesTest, FirstLookupByDescriptionUsesSectionWithoutName) {
    WriteHostIni("[MAIN]\nLanguage=q2\n");
    WriteLanguageFile("q2", "[ Extender]\nX101=Nameless section\nX20002=from nameless\n"
                            "[qvPalvek Extender]\nX20002=from named\n");
    Load();
    EXPECT_EQ("Nameless section", Description());
    EXPECT_EQ("from nameless", NotFoundMessage());
}

TEST_F(MessagesTest, MissingXxxAndEmptyValues) {
    WriteHostIni("[MAIN]\nLanguage=q3\n");
    WriteLanguageFile("q3", "[qvPalvek Extender]\nX20002=XXX\nX101=\n");
    Load();
    InfoWithoutBuffer();
    EXPECT_EQ("20002: Constant Not Found.", NotFoundMessage()) << "XXX counts as missing";
    EXPECT_EQ("", Description()) << "an empty entry is the message";
}

TEST_F(MessagesTest, LowerCaseXxxIsALanguageCode) {
    WriteHostIni("[MAIN]\nLanguage=xxx\n");
    WriteLanguageFile("xxx", "[qvPalvek Extender]\nX20002=lower xxx\n");
    Load();
    InfoWithoutBuffer();
    EXPECT_EQ("lower xxx", NotFoundMessage());
}

TEST_F(MessagesTest, EmptyLanguageCodeSearchesBareDot) {
    WriteHostIni("[MAIN]\nLanguage=\n");
    WriteLanguageFile("", "[qvPalvek Extender]\nX20002=empty code\n");
    Load();
    InfoWithoutBuffer();
    EXPECT_EQ("empty code", NotFoundMessage());
}

TEST_F(MessagesTest, SystemLanguageWhenHostIniHasNone) {
    WriteHostIni("[OTHER]\nLanguage=q4\n");
    WriteLanguageFile("enu", "[qvPalvek Extender]\nX20002=system language\n");
    Load();
    InfoWithoutBuffer();
    EXPECT_EQ("system language", NotFoundMessage());
}

TEST_F(MessagesTest, DescriptionCutToTheBuffer) {
    WriteHostIni("[MAIN]\nLanguage=q5\n");
    Load();
    char sz[16];
    std::fill(std::begin(sz), std::end(sz), 'Z');
    EXPECT_EQ(44001, m_module->Query(EXT_QUERY_MODULE_INFO, sz, 10));
    EXPECT_EQ("qvPalvek ", std::string(sz));
    EXPECT_EQ('Z', sz[10]);
}

// A module with a base name so long that the section, the name and " Extender", is cut to
// 259 characters, loaded from a folder of its own, where its language file is found: the
// temporary folder, or its drive's root where the temporary folder's path is too long.
TEST_F(MessagesTest, LongModuleNameInItsOwnFolder) {
    namespace fs = std::filesystem;
    const std::string module = qvhost::Module::DefaultPath();
    const std::string extension = fs::path(module).extension().string();
    const fs::path temp = fs::temp_directory_path();
    std::string folder;
    size_t nName = 0;
    for (const fs::path& candidate : {temp, temp.root_path()}) {
        folder = candidate.string();
        if (folder.empty() || (folder.back() != '/' && folder.back() != '\\'))
            folder += '/';
        // A file name has at most 255 characters on most file systems.
        nName = std::min<size_t>(259 - folder.size(), 255) - extension.size();
        if (nName >= 251 && nName <= 255)
            break;
    }
    if (nName < 251 || nName > 255)
        GTEST_SKIP() << "no module name of 251 characters fits a 259-character path here";
    const std::string name(nName, 'n');
    const std::string copy = folder + name + extension;
    std::error_code error;
    fs::copy_file(module, copy, fs::copy_options::overwrite_existing, error);
    m_files.push_back(copy);
    WriteHostIni("[MAIN]\nLanguage=q6\n");
    const std::string section = (name + " Extender").substr(0, 259);
    WriteFile(folder + "TBXELANG.q6", "[" + section + "]\nX20002=long section\n");
    try {
        m_module = std::make_unique<qvhost::Module>(copy);
    } catch (const std::exception&) {
        GTEST_SKIP() << "this platform cannot load a module from so long a path";
    }
    m_host = std::make_unique<qvhost::StandInHost>(*m_module);
    InfoWithoutBuffer();
    EXPECT_EQ("long section", NotFoundMessage());
}
