// The pools paragraphs and segments live in: slots reused, failed constructions leaving no
// trace, slabs given back; and documents whose chains are long or edited a lot.
#include "richtext/model/Document.h"
#include "richtext/model/SlabPool.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillory {
namespace {

struct Counted {
    explicit Counted(int& alive, bool fail = false) : alive(alive)
    {
        if (fail)
            throw std::runtime_error("refused");
        ++alive;
    }
    ~Counted() { --alive; }
    int& alive;
    char payload[24] = {};
};

TEST(SlabPool, ReusesFreedSlotsRunsDestructorsAndSurvivesThrowingConstructors)
{
    int alive = 0;
    SlabPool<Counted> pool;
    std::vector<Counted*> objects;
    for (int i = 0; i < 1000; ++i)
        objects.push_back(pool.create(alive));
    EXPECT_EQ(alive, 1000);
    EXPECT_EQ(std::set<Counted*>(objects.begin(), objects.end()).size(), 1000u);

    Counted* freed = objects[500];
    pool.destroy(freed);
    EXPECT_EQ(alive, 999);
    EXPECT_THROW(pool.create(alive, true), std::runtime_error);
    EXPECT_EQ(pool.liveCount(), 999u);
    EXPECT_EQ(pool.create(alive), freed) << "the slot given back is the next one taken";

    pool.releaseIfEmpty(); // objects live: nothing is given back
    EXPECT_EQ(objects[999]->alive, 1000);
    for (Counted* object : objects)
        pool.destroy(object);
    EXPECT_EQ(alive, 0);
    pool.releaseIfEmpty();
    Counted* again = pool.create(alive);
    EXPECT_EQ(alive, 1) << "a released pool starts over";
    pool.destroy(again);
    EXPECT_EQ(alive, 0);
}

TEST(DocumentPools, LongChainsAreFreedWithoutRecursionAndClearedDocumentsStartOver)
{
    auto doc = std::make_unique<TWPRTFText>();
    TParagraph* last = doc->firstParagraph();
    for (int i = 0; i < 300000; ++i) {
        last = doc->appendParagraph(last);
        doc->appendLine(*last, last->lastLine());
    }
    EXPECT_EQ(doc->paragraphCount(), 300001);
    doc->clear();
    EXPECT_TRUE(doc->isEmpty());
    EXPECT_EQ(doc->paragraphCount(), 1);
    last = doc->firstParagraph();
    for (int i = 0; i < 300000; ++i)
        last = doc->appendParagraph(last);
    EXPECT_EQ(doc->paragraphCount(), 300001);
    doc.reset(); // no stack overflow along the chain
}

TEST(DocumentPools, EditingDeletesAndInsertsAndKeepsEveryChainConsistent)
{
    TWPRTFText doc;
    for (int i = 0; i < 200; ++i) {
        TParagraph* paragraph = doc.appendParagraphAtEnd();
        doc.appendText(*paragraph, std::string(450, char('a' + i % 26)), {});
    }
    // Delete every other paragraph and every middle segment, then split and refill: freed
    // slots come back as new paragraphs and segments.
    for (TParagraph* paragraph = doc.firstParagraph(); paragraph;) {
        TParagraph* next = paragraph->next();
        if (next)
            doc.deleteParagraph(next);
        if (paragraph->lineCount() > 2)
            doc.deleteLine(*paragraph, paragraph->firstLine()->next());
        paragraph = paragraph->next();
    }
    EXPECT_EQ(doc.paragraphCount(), 101);
    const std::string second = doc.paragraphAt(1)->text();
    EXPECT_EQ(second.size(), 450u - 196) << "the middle segment of three went";
    for (int i = 0; i < 50; ++i)
        doc.splitParagraph({i * 2, 0, 3});
    EXPECT_EQ(doc.paragraphCount(), 151);

    int counted = 0;
    TParagraph* previous = nullptr;
    for (TParagraph* paragraph = doc.firstParagraph(); paragraph; paragraph = paragraph->next()) {
        ASSERT_EQ(paragraph->prev(), previous);
        TTextLine* previousLine = nullptr;
        for (TTextLine* line = paragraph->firstLine(); line; line = line->next()) {
            ASSERT_EQ(line->prev(), previousLine);
            ASSERT_EQ(line->text()[line->length()], 0);
            previousLine = line;
        }
        ASSERT_EQ(paragraph->lastLine(), previousLine);
        previous = paragraph;
        ++counted;
    }
    EXPECT_EQ(counted, doc.paragraphCount());
    EXPECT_EQ(doc.paragraphAt(0)->text(), "");
    EXPECT_EQ(doc.paragraphAt(2)->text(), std::string(3, 'b'));
    EXPECT_EQ(doc.paragraphAt(2)->text() + doc.paragraphAt(3)->text(), second);
}

} // namespace
} // namespace quillory
