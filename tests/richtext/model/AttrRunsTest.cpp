// A segment's attribute records held as runs: every operation leaves exactly the records an
// array would hold, and reading and writing a document do not turn the runs into arrays.
#include "richtext/model/Document.h"
#include "richtext/rtf/RtfReader.h"
#include "richtext/rtf/RtfWriter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace quillory {
namespace {

TAttr Record(int n)
{
    TAttr attr;
    attr.font = std::uint8_t(n % 3);
    attr.style = std::uint8_t(n % 2 ? AttrStyle::Bold : 0);
    attr.width = std::uint16_t(n % 4 == 3 ? 7 : 0); // a layout field alone also makes a record differ
    return attr;
}

bool SameRecords(const TAttr& a, const TAttr& b)
{
    return sameRecord(a, b);
}

// The records as a plain array would hold them, changed by the same operations.
struct Reference {
    std::vector<TAttr> records;
    int length = 0;

    explicit Reference(int capacity) : records(std::size_t(capacity)) {}
    void Resize(int capacity)
    {
        const int kept = std::min(length, capacity - 1);
        std::vector<TAttr> fresh(static_cast<std::size_t>(capacity));
        std::copy_n(records.begin(), kept, fresh.begin());
        records = std::move(fresh);
        length = kept;
    }
};

void ExpectSame(const TTextLine& line, const Reference& reference, const char* step)
{
    ASSERT_EQ(line.capacity(), int(reference.records.size())) << step;
    for (int i = 0; i < line.capacity(); ++i)
        ASSERT_TRUE(SameRecords(line.attrAt(i), reference.records[std::size_t(i)]))
            << step << ": position " << i;
    // Walked stretch by stretch from any start, the same records, the whole range, in order.
    for (const int from : {0, line.capacity() / 3, line.capacity() - 1}) {
        int next = from;
        line.forEachAttrRun(from, line.capacity(), [&](int start, int end, const TAttr& attr) {
            ASSERT_EQ(start, next) << step;
            ASSERT_LT(start, end) << step;
            for (int i = start; i < end; ++i)
                ASSERT_TRUE(SameRecords(attr, reference.records[std::size_t(i)])) << step << ": walked to " << i;
            next = end;
        });
        ASSERT_EQ(next, line.capacity()) << step;
    }
}

TEST(AttrRuns, EveryOperationKeepsTheRecordsAnArrayWouldHold)
{
    std::mt19937 random(17);
    for (int round = 0; round < 200; ++round) {
        TTextLine line(8 + int(random() % 60), true);
        Reference reference(line.capacity());
        for (int step = 0; step < 40; ++step) {
            const int capacity = line.capacity();
            switch (random() % 6) {
            case 0: { // fill a stretch anywhere, inside or beyond the length
                const int from = int(random() % std::uint32_t(capacity));
                const int to = std::min(capacity, from + 1 + int(random() % 12));
                const TAttr attr = Record(int(random() % 8));
                line.fillAttrs(from, to, attr);
                std::fill(reference.records.begin() + from, reference.records.begin() + to, attr);
                ExpectSame(line, reference, "fill");
                break;
            }
            case 1: { // append one character
                const TAttr attr = Record(int(random() % 8));
                const bool taken = line.append('x', attr);
                ASSERT_EQ(taken, reference.length < capacity - 1);
                if (taken)
                    reference.records[std::size_t(reference.length++)] = attr;
                ExpectSame(line, reference, "append");
                break;
            }
            case 2: { // a new capacity cuts the records after the kept characters
                const int wanted = 8 + int(random() % 80);
                line.resize(wanted);
                reference.Resize(line.capacity());
                ExpectSame(line, reference, "resize");
                break;
            }
            case 3: { // a record of the segment itself written elsewhere in it
                const int from = int(random() % std::uint32_t(capacity));
                const int to = int(random() % std::uint32_t(capacity));
                line.setAttr(to, line.attrAt(from));
                reference.records[std::size_t(to)] = reference.records[std::size_t(from)];
                ExpectSame(line, reference, "own record");
                break;
            }
            case 4: { // a run of characters of one record, as readers append, cut to the room
                const int count = 1 + int(random() % 24);
                const TAttr attr = Record(int(random() % 8));
                const std::string chars(std::size_t(count), char('a' + step % 26));
                const int before = line.length();
                const int taken = std::min(count, capacity - 1 - before);
                line.appendRun(chars.data(), count, attr);
                ASSERT_EQ(line.length(), before + taken);
                ASSERT_EQ(line.view().substr(std::size_t(before)), chars.substr(0, std::size_t(taken)));
                ASSERT_EQ(line.text()[line.length()], '\0');
                std::fill_n(reference.records.begin() + before, taken, attr);
                reference.length = line.length();
                ExpectSame(line, reference, "append run");
                break;
            }
            default: { // the length alone changes no record
                const int length = int(random() % std::uint32_t(capacity));
                line.setLength(length);
                reference.length = line.length();
                ExpectSame(line, reference, "length");
                break;
            }
            }
        }
        // The array built on first use holds the same records, and stays in use.
        const TAttr* array = line.attrs();
        for (int i = 0; i < line.capacity(); ++i)
            ASSERT_TRUE(SameRecords(array[i], reference.records[std::size_t(i)])) << "array " << i;
        EXPECT_EQ(line.attrRunCount(), 0);
        line.setAttr(0, Record(5));
        EXPECT_TRUE(SameRecords(line.attrs()[0], Record(5)));
        EXPECT_EQ(line.attrs(), array);
    }
}

TEST(AttrRuns, CopyBetweenSegmentsAndPlainText)
{
    TTextLine source(40, true);
    for (int i = 0; i < 30; ++i)
        ASSERT_TRUE(source.append(char('a' + i % 26), Record(i / 4)));
    TTextLine target(40, true);
    target.fillAttrs(0, 40, Record(6));
    target.copyAttrs(source, 5, 20, 10);
    for (int i = 0; i < 40; ++i) {
        const TAttr expected = i >= 10 && i < 30 ? Record((i - 10 + 5) / 4) : Record(6);
        ASSERT_TRUE(SameRecords(target.attrAt(i), expected)) << i;
    }

    TTextLine plain(20, false);
    plain.fillAttrs(0, 5, Record(1));
    EXPECT_FALSE(plain.hasAttributes());
    EXPECT_EQ(plain.attrs(), nullptr);
    plain.addAttributes(Record(3));
    EXPECT_TRUE(SameRecords(plain.attrAt(19), Record(3)));
    EXPECT_EQ(plain.attrRunCount(), 1);
}

TEST(AttrRuns, ReadingAndWritingKeepRunsNotArrays)
{
    const std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil Arial;}}\\f0\\fs20 plain words and "
                            "{\\b bold words} then plain again\\par second {\\i italic} end}";
    TWPRTFText document;
    TParagraph* current = document.firstParagraph();
    TWPRtfReader reader;
    ASSERT_EQ(reader.ReadStream(rtf, &document, &current), ReadResult::Ok);

    const TTextLine& first = *document.firstParagraph()->firstLine();
    EXPECT_EQ(first.view(), "plain words and bold words then plain again");
    EXPECT_EQ(first.attrRunCount(), 3);
    const std::string written = WriteRtf(document);
    EXPECT_EQ(first.attrRunCount(), 3) << "writing reads the runs, it builds no array";

    // The records are those an array holds: the bold run in the middle, plain around it.
    const TAttr* array = document.firstParagraph()->firstLine()->attrs();
    EXPECT_TRUE(array[16].hasStyle(AttrStyle::Bold));
    EXPECT_TRUE(array[25].hasStyle(AttrStyle::Bold));
    EXPECT_FALSE(array[26].hasStyle(AttrStyle::Bold));
    EXPECT_FALSE(array[0].hasStyle(AttrStyle::Bold));
    EXPECT_EQ(WriteRtf(document), written) << "the same RTF from the array as from the runs";
}

} // namespace
} // namespace quillory
