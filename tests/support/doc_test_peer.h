#pragma once
// What only tests, benchmarks and fuzz targets do to a document: put in a question as it stands
// (one the loader would refuse too), and rewind it to its first key without rebuilding it.
#include <string>

#include "lessons/kibiki_doc.h"

namespace kibiki {

struct DocTestPeer {
    static void PutQuestion(CKibikiDoc& doc, std::string question, std::string kanji = {}) {
        doc.m_run.m_strQuestion = std::move(question);
        doc.m_run.m_strKanji = std::move(kanji);
    }
    // The romaji modes: the question's letters built as a run builds them; romaji input: the
    // letters as they stand.
    static bool BuildQuestion(CKibikiDoc& doc) { return doc.BuildRoman(doc.m_run.m_strQuestion); }
    static void PutLetters(CKibikiDoc& doc, std::string letters) { doc.m_matcher.SetRoman(std::move(letters)); }
    static CKanjiSegments& Segments(CKibikiDoc& doc) { return doc.m_segments; }

    // The question as loaded; the matcher's letters as built, rewrites included.
    struct Mark {
        CRomajiMatcher matcher;
    };
    static Mark MarkQuestion(const CKibikiDoc& doc) { return {doc.m_matcher}; }
    static void Rewind(CKibikiDoc& doc, const Mark& mark) {
        doc.m_matcher = mark.matcher;
        doc.m_run.m_nKanaPos = 0;
        doc.m_run.m_bBaseStroke = true;
        doc.m_run.m_bVoiced = false;
        doc.m_segments.m_nSegment = -1;
    }
};

}  // namespace kibiki
