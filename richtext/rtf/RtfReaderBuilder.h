// The RTF reader's state and the builder that applies tokens to a document: one handler per
// keyword kind, a stack of group states pushed on '{', and the table, picture and footnote
// state between groups. Used only by TWPRtfReader.
#pragma once

#include "richtext/rtf/RtfKeywordTable.h"
#include "richtext/rtf/RtfLexer.h"
#include "richtext/rtf/RtfUnicode.h"
#include "richtext/text/TextReader.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillory::rtf {

// Where the characters of a group go.
enum class Destination : uint8_t {
    Normal = 0, Skip = 1, FontTable = 2, ColourTable = 3, PictureHex = 4, PictureFile = 5,
    Title = 6, Comment = 7, Subject = 8, Footnote = 9, Field = 10,
    FieldInstruction = 11, // read into RtfBuilder::fieldInstruction_, never into the text
};

// The reader's paragraph properties; copied into a paragraph when it is finished.
struct ParagraphState {
    Alignment alignment = Alignment::Left;
    int32_t left = 0;
    int32_t right = 0;
    int32_t first = 0; // relative to the left indent, as in RTF
    int32_t spaceBefore = 0;
    int32_t spaceAfter = 0;
    int32_t lineSpacing = 0;
    BorderWord border;
    uint8_t shadingColors = 0;
    uint8_t shadingPercent = 0;
    uint64_t tabMask = 0;
    TTabKind pendingTab = TTabKind::tkLeft;
};

// What '{' saves and '}' restores.
struct GroupState {
    TAttr attr;
    ParagraphState paragraph;
    Destination destination = Destination::Normal;
    bool tableMode = false;
    bool superscriptSeen = false; // \super met, even where it does not apply (footnote marks)
    int unicodeSkip = 1;          // \uc: fallback characters after \u
    bool shapePicture = false;    // inside \shppict
    int32_t font = 0; // the RTF's number of the font in force, whose code page decodes the text
    // Inside \upr, which skips its ANSI text: where the text of its \ud goes. Skip elsewhere.
    Destination unicodeText = Destination::Skip;
};

inline constexpr int kMaxCells = 50;
// A linked picture's file name keeps at most this many bytes (whole characters); the text of
// its destination, the quotes and whatever stands around them, at most the second bound.
inline constexpr size_t kMaxPictureFileName = 255;
inline constexpr size_t kMaxPictureFileText = 1024;
// \line inserts this code; it is stored as the soft line break.
inline constexpr int kLineCode = 1010;

struct CellDefinition {
    int32_t edge = 0; // right edge, from the row's left indent
    BorderWord border;
    uint8_t shadingColors = 0;
    uint8_t shadingPercent = 0;
};

// Between \trowd and \row.
struct TableState {
    std::array<CellDefinition, kMaxCells> cells{};
    int count = 0;
    int32_t largest = 0;
    int32_t rowLeft = 0;
    uint8_t padding = 0; // nibble, from \trgaph
    bool defining = false;
    bool mergeNext = false;
    CellDefinition pending; // borders and shading of the cell whose \cellx comes next
    int cellNumber = 0;
    int fractionSum = 0;
    TParagraph* lastCell = nullptr;
};

enum class PictureKind : uint8_t { None, Metafile, Dib, DeviceBitmap, Png, Jpeg };

struct PictureState {
    PictureKind kind = PictureKind::None;
    int32_t width = 0, height = 0, goalWidth = 0, goalHeight = 0;
    int32_t bitsPerPixel = 0, planes = 1, widthBytes = 0;
    int32_t scaleX = 100, scaleY = 100;
    std::vector<uint8_t> data;
    std::string fileName; // the text of a \picfile group
};

// The document's objects by tag and by file name, and the highest tag: built from the document
// when the first object is read, then kept up to date by the reader. The document's own
// lookups walk all its objects, so many pictures would cost time in proportion to their square.
struct ObjectIndex {
    bool built = false;
    std::unordered_map<int, TTextObject*> byTag;
    std::unordered_map<std::string, TTextObject*> byFileName;
    int highestTag = 0;
};

class RtfBuilder {
public:
    // Objects and footnotes a document may hold before more are dropped: their lookups are
    // linear, and hostile input would otherwise make reading quadratic.
    static constexpr size_t kMaxObjects = 10000;

    RtfBuilder(std::span<const uint8_t> input, TextAppender& appender, bool keepHeader,
               const std::string& pictureFolder, bool snapIndents, bool unicodeRuns);

    // Reads until the input ends or the outermost group closes; returns the bytes consumed.
    // An exception finishes the paragraphs read and passes on.
    size_t Run();

private:
    // tokens
    void OnGroupOpen();
    void OnGroupClose();
    void OnControl(const RtfToken& token);
    // `specialBytes`: the bytes may hold control bytes, DEL or bytes from 0x80 up (see
    // RtfToken::specialBytes).
    void OnText(std::span<const uint8_t> bytes, bool specialBytes = true);
    void OnPictureData(std::span<const uint8_t> bytes);
    void SyncLexMode();

    // dispatch by kind
    void OnDestination(const RtfKeyword& keyword);
    void OnProperty(RtfKeywordId id, int32_t n);
    void OnSpecial(RtfKeywordId id, bool hasParameter, int32_t n);
    void OnCharacterProperty(RtfKeywordId id, int32_t n);
    void OnParagraphProperty(RtfKeywordId id, int32_t n);
    void OnBorderProperty(RtfKeywordId id, int32_t n);
    void OnTableProperty(RtfKeywordId id, int32_t n);
    void OnPictureProperty(RtfKeywordId id, int32_t n);
    void OnDocumentProperty(RtfKeywordId id, int32_t n);

    // characters
    // An ASCII character or control code, kLineCode, or from 0x80 to 0xFF the cp1252 character
    // a symbol word names (\emdash, \~).
    void InsertChar(int code);
    // Characters of text in UTF-8, none of them a control code.
    void InsertText(std::string_view utf8);
    // What the decoder gave: ASCII through InsertChar, the rest through InsertText.
    void InsertDecoded(std::string_view utf8);
    // The code page of the text read now (RtfUnicode.h).
    int CodePageInForce() const noexcept;
    // A byte of text (\'hh or raw) in the code page in force.
    void InsertByte(uint8_t byte);
    // Ends a lead byte or high surrogate that waited in vain, as U+FFFD.
    void FlushPending();
    bool AttendTo(RtfToken& token);
    void InsertPlaceholder(TTextObject& object);
    void InsertObjectChar();
    void OnUnicode(int32_t n);
    // The run of \uN that begins with this one, in the body (see OnUnicode).
    void ReadUnicodeRun(int32_t n);
    // The run of \'hh in a single-byte code page that begins with this byte, in the body.
    void ReadByteRun(uint8_t byte);
    // \fN outside the font table: its code page decodes the text even where its look is not
    // kept. Inline, as a word of most runs.
    void SelectFont(int32_t n) noexcept { g_.font = n; }
    void CommitFontName();

    // paragraphs and tables
    // Inline, as they are asked for every word and every run of text.
    bool InBody() const noexcept
    {
        return g_.destination == Destination::Normal || g_.destination == Destination::Field;
    }
    void OnParagraphContent() noexcept
    {
        endState_.reset();
        paragraphBegun_ = true;
    }
    void FinishParagraph(bool asCell);
    void EndParagraph();
    void EndCell();
    // After a paragraph's end: the next one begins, and when streaming the final ones go.
    void StartNextParagraph();
    void FinishIndents(TParagraph& p) const;
    void EndRow();
    void ApplyCell(TParagraph& p);
    void EndLastCellRow();
    void FinishAll();

    // pictures, footnotes
    void StartPicture();
    void FinishPicture(Destination which);
    void FinishFilePicture();
    void OnShapePicture(RtfKeywordId id);
    void StartFootnote();
    // The document's objects through objects_ (see ObjectIndex).
    void IndexObjects();
    TTextObject& AddObject(std::unique_ptr<TGraphic> graphic, int tag = 0);
    TTextObject* FindObject(int tag);
    TTextObject* FindObjectByFileName(const std::string& name);
    void OnAutomaticFootnoteMark();
    int NextFootnoteNumber();
    bool ObjectRoom() const noexcept;

    RtfLexer lexer_;
    TextAppender& out_;
    TWPRTFText& doc_;
    TTextHeader& header_;
    const bool keepHeader_;
    const std::string& pictureFolder_;
    const bool snapIndents_;
    const bool unicodeRuns_; // TWPRtfReader::unicodeRuns

    GroupState g_; // the current group's state
    std::vector<GroupState> saved_;
    int unsavedDepth_ = 0; // groups opened beyond the saved limit
    bool started_ = false;
    bool skipNextUnknown_ = false; // after \*
    UnicodeFallback fallback_;
    RtfTextDecoder decoder_;
    // A fallback is being skipped or the decoder waits (AttendTo): one test per token for both.
    bool attention_ = false;
    std::string decoded_; // reused for the UTF-8 of decoded text

    // paragraph
    uint8_t parFlags_ = 0;     // page break and keep flags of the current paragraph
    bool tabsStarted_ = false; // a \tx met in the current paragraph
    TParagraph* lastFinished_ = nullptr;
    TParagraph* borderRunEnd_ = nullptr; // finished paragraph whose border group just closed
    TParagraph* afterCell_ = nullptr;    // the paragraph begun by the last \cell
    // The paragraph state when the first group closed after the last text or word of the body:
    // the last paragraph has no \par, and its properties live in groups that close before
    // reading ends.
    std::optional<ParagraphState> endState_;
    bool paragraphBegun_ = false; // text or a word of the body since the last paragraph end

    // tables of the header
    std::array<uint8_t, 99> fontMap_{};
    int fontNumber_ = 0;
    std::string fontName_;
    uint8_t fontFamily_ = 0;
    uint8_t fontCharset_ = 0;
    int colourIndex_ = 0;

    TableState table_;
    PictureState picture_;
    int objectTag_ = 0, objectWidth_ = 0, objectHeight_ = 0; // \wpobjtag, \wpobjw, \wpobjh
    ObjectIndex objects_;
    bool shapePictureTaken_ = false; // the last \shppict gave a picture: its \nonshppict is skipped
    TFootnote* footnote_ = nullptr;
    bool footnoteEcho_ = false;      // the footnote's own copy of its mark may come first
    bool footnoteEchoBlank_ = false; // and one blank after it
    std::string fieldInstruction_;   // of the field being read (HYPERLINK "...")
    // The highest footnote number in the document, -1 until first needed; kept here because
    // the document finds it by walking all its footnotes.
    int highestFootnote_ = -1;
};

} // namespace quillory::rtf
