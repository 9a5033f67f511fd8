// The help page and the man pages read as a reader sees them: rendered text, not source. A line
// break in the source between two Japanese characters becomes a stray space in a browser and
// in man.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

std::string ReadSource(const std::string& strPath) {
    std::ifstream in(std::string(KIBIKI_SOURCE_DIR "/") + strPath, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The code points of UTF-8 text, each with the byte offset it starts at.
std::vector<std::pair<char32_t, std::size_t>> CodePoints(const std::string& s) {
    std::vector<std::pair<char32_t, std::size_t>> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t c = n == 1 ? b : b & (0x7F >> n);
        for (std::size_t k = 1; k < n && i + k < s.size(); ++k) c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.emplace_back(c, i);
        i += n;
    }
    return out;
}

// Kana, kanji, Japanese punctuation and full-width forms: no space belongs between two of them.
bool IsJapanese(char32_t c) {
    return (c >= 0x3000 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

// Every space between two Japanese characters, with up to eight characters each side on the
// same line, one per line.
std::string StraySpaces(const std::string& strText) {
    const auto t = CodePoints(strText);
    std::string found;
    for (std::size_t i = 1; i + 1 < t.size(); ++i) {
        if (t[i].first != U' ' || !IsJapanese(t[i - 1].first) || !IsJapanese(t[i + 1].first)) continue;
        std::size_t from = i, to = i;
        while (from > 0 && i - from < 8 && t[from - 1].first != U'\n') --from;
        while (to + 1 < t.size() && to - i < 8 && t[to + 1].first != U'\n') ++to;
        const std::size_t end = to + 1 < t.size() ? t[to + 1].second : strText.size();
        found += "[" + strText.substr(t[from].second, end - t[from].second) + "]\n";
    }
    return found;
}

// The page's text as a browser lays it out: each block on its own line, white space inside a
// block (line breaks too) one space, <pre> lines kept as they are.
std::string RenderHtml(std::string html) {
    html = std::regex_replace(html, std::regex("<head>[\\s\\S]*?</head>"), "");
    std::string out, block;
    auto flush = [&] {
        block = std::regex_replace(block, std::regex("\\s+"), " ");
        block = std::regex_replace(block, std::regex("^ | $"), "");
        if (!block.empty()) out += block + "\n";
        block.clear();
    };
    const std::regex blockTag("^/?(p|li|ul|ol|h[1-6]|table|tr|td|th|div|nav|br|body|html|pre)\\b");
    bool bPre = false;
    for (std::size_t i = 0; i < html.size();) {
        if (html[i] != '<') {
            const std::size_t next = std::min(html.find('<', i), html.size());
            std::string text = html.substr(i, next - i);
            if (bPre) out += text + "\n";
            else block += text;
            i = next;
            continue;
        }
        const std::size_t end = html.find('>', i);
        const std::string tag = html.substr(i + 1, end - i - 1);
        if (std::regex_search(tag, blockTag)) {
            flush();
            if (tag == "pre") bPre = true;
            if (tag == "/pre") bPre = false;
        }
        i = end + 1;
    }
    flush();
    for (const auto& [entity, ch] : {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}})
        out = std::regex_replace(out, std::regex(entity), ch);
    return out;
}

TEST(HelpPage, NoSpaceBetweenJapaneseCharactersAsABrowserShowsIt) {
    const std::string html = ReadSource("resources/help/index.html");
    ASSERT_FALSE(html.empty());
    const std::string text = RenderHtml(html);
    EXPECT_EQ(StraySpaces(text), "");
    // The renderer joins source lines: a paragraph broken between two kana is found.
    EXPECT_EQ(StraySpaces(RenderHtml("<p>次に打つキーと\n使う指</p><pre>りんご\nみかん</pre>")), "[次に打つキーと 使う指]\n");
}

TEST(HelpPage, NavigationKeepsEachEntryOnOneLineAndCoversTheProgressTools) {
    const std::string html = ReadSource("resources/help/index.html");
    EXPECT_TRUE(std::regex_search(html, std::regex("nav li \\{[^}]*white-space: nowrap")));
    // The features a learner meets from the lesson menu and the history, each described.
    const std::string text = RenderHtml(html);
    for (const char* topic : {"苦手キーの練習", "かな速度", "速さと正確さ", "苦手キー", "CSV保存", "練習ログ", "遅い運指"})
        EXPECT_NE(text.find(topic), std::string::npos) << topic;
    for (const char* anchor : {"href=\"#progress\"", "id=\"progress\"", "id=\"drill\""})
        EXPECT_NE(html.find(anchor), std::string::npos) << anchor;
}

// The page as man shows it in a Japanese locale; empty when groff is missing.
std::string RenderMan(const std::string& strSource, bool bJapanese) {
    char tmp[] = "/tmp/kibiki_man_XXXXXX";
    const int fd = mkstemp(tmp);
    if (fd < 0) return {};
    close(fd);
    std::ofstream(tmp, std::ios::binary) << strSource;
    const std::string cmd = std::string("groff -K utf8 -T utf8 ") + (bJapanese ? "-mja " : "") +
                            "-man -P -cbou " + tmp + " 2>/dev/null";
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[4096];
        for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
        pclose(p);
    }
    std::remove(tmp);
    return out;
}

TEST(ManPages, JapaneseTextHasNoStraySpacesAndNamesTheUserAsTheProgramDoes) {
    if (std::system("command -v groff >/dev/null 2>&1") != 0) GTEST_SKIP() << "no groff";
    const std::string ja = ReadSource("resources/man/kibiki.ja.1.in");
    ASSERT_FALSE(ja.empty());
    // With and without the Japanese line breaking: man-db adds it where groff has it.
    for (bool bJaMacros : {true, false}) {
        const std::string page = RenderMan(ja, bJaMacros);
        ASSERT_NE(page.find("kibiki"), std::string::npos);
        // One logical line per paragraph: the wrapped lines' indent is not a space in the text.
        std::string joined = std::regex_replace(page, std::regex("\n +"), "\n");
        EXPECT_EQ(StraySpaces(joined), "") << bJaMacros;
        EXPECT_EQ(joined.find("。 "), std::string::npos) << bJaMacros;
        EXPECT_EQ(joined.find("、 "), std::string::npos) << bJaMacros;
    }
    EXPECT_EQ(ja.find("ユーザー"), std::string::npos);
    for (const char* topic : {"苦手キーの練習", "かな速度", "グラフ", "CSV"})
        EXPECT_NE(ja.find(topic), std::string::npos) << topic;
    const std::string en = ReadSource("resources/man/kibiki.1.in");
    for (const char* topic : {"weak keys", "kana per minute", "chart", "CSV"})
        EXPECT_NE(en.find(topic), std::string::npos) << topic;
}

}  // namespace
