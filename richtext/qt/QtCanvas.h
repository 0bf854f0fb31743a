// The layout engine's canvas over Qt: fonts and widths from QFontMetrics (one width table per
// font, kept), drawing through a QPainter onto a widget, an image, a printer or a PDF. Text of
// any script: characters the font lacks come from Qt's fallback fonts, measured and drawn alike;
// shaped stretches go through Qt's shaping and bidi.
#pragma once

#include "richtext/layout/Canvas.h"

#include <QColor>
#include <QFont>
#include <QRawFont>

#include <array>
#include <QImage>
#include <QString>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

class QPainter;

namespace quillory {

// The image a picture of the model shows as; a null image for metafiles and broken bytes.
QImage GraphicToImage(const TGraphic& graphic);

class QtCanvas : public Canvas {
public:
    // Without a painter the canvas only measures. Layout pixels are `resolution` per inch; a
    // printer canvas gets the same resolution and a transform to its device pixels.
    explicit QtCanvas(QPainter* painter = nullptr, int resolution = 96);
    ~QtCanvas() override;

    void setPainter(QPainter* painter) { painter_ = painter; }
    // Shows the colours for a dark page (lightness turned over); pictures keep theirs.
    void setDarkPage(bool on) noexcept { darkPage_ = on; }
    bool darkPage() const noexcept { return darkPage_; }
    // The colour as this canvas paints it.
    QColor ink(RGBColor color) const;
    QPainter* painter() const noexcept { return painter_; }
    // The resolution reported for a printer (device pixels per inch) differs from the layout's.
    void setDeviceResolution(int x, int y);

    int resolutionX() const override { return deviceX_; }
    int resolutionY() const override { return deviceY_; }
    void selectFont(const FontRequest& font) override;
    const WidthTable& widths() override;
    int fontHeight() override;
    int fontAscent() override;

    int textWidth(std::string_view utf8) override;
    void pieceWidths(std::string_view utf8, std::span<const int> ends, std::span<int> widths) override;
    void drawText(int x, int baseline, std::string_view text, std::span<const int> advances,
                  RGBColor color) override;
    void drawShapedText(int x, int baseline, std::string_view text, bool rightToLeft, RGBColor color) override;
    void drawLine(int x1, int y1, int x2, int y2, const Pen& pen) override;
    void fillRect(const Rect& rect, RGBColor color) override;
    void fillShading(const Rect& rect, RGBColor pattern, RGBColor background, int percent) override;
    void frameRect(const Rect& rect, const Pen& pen) override;
    void invertRect(const Rect& rect) override;
    void drawPicture(const TGraphic& graphic, const Rect& rect) override;
    void setTransform(double scaleX, double scaleY, int offsetX, int offsetY) override;
    void setClip(const Rect& rect) override;
    void clearClip() override;

    // The QFont a request stands for at this canvas's layout resolution.
    QFont qfont(const FontRequest& request) const;
    int cachedFonts() const noexcept { return int(fonts_.size()); }

private:
    struct Font {
        QFont font;
        WidthTable widths{};
        int height = 0;
        int ascent = 0;
        bool symbol = false;
        bool hasWidths = false;
        // The font's own glyph of each byte (0: none, Qt finds another font for it), so that
        // painting a run of text shapes nothing.
        bool hasGlyphs = false;
        QRawFont raw;
        std::array<quint32, 256> glyphs{};
        // Characters past cp1252 drawn by themselves: their glyph in the font Qt falls back to
        // (`font` indexes `fallbacks`; -1: drawn as text), found once per character.
        struct Fallback {
            int font = -1;
            quint32 glyph = 0;
        };
        std::unordered_map<char32_t, Fallback> fallback;
        std::vector<QRawFont> fallbacks;
        // Widths of single characters, which layout asks for again on every full layout.
        std::unordered_map<char32_t, int> characterWidths;
    };
    static void findGlyphs(Font& font);
    static Font::Fallback fallbackGlyph(Font& font, char32_t c);
    // The text as Qt draws it in the current font: in a symbol font a character that stands for
    // a cp1252 byte becomes that byte's glyph.
    QString qtext(std::string_view utf8) const;
    // Draws text by itself in the current font, from its left end at x.
    void drawString(int x, int baseline, const QString& text, bool rightToLeft);
    // True when some of the text comes from a font of colour glyphs (emoji).
    bool hasColourGlyphs(const QString& text);

    // Decoding a photo on every paint would make scrolling crawl: the last pictures drawn are
    // kept, decoded and reduced to the device size they were drawn at.
    struct CachedPicture {
        const TGraphic* graphic = nullptr;
        const char* bytes = nullptr; // the graphic's bytes when decoded: a new picture at the
        std::size_t size = 0;        // same address has other bytes or another size
        QSize deviceSize;
        QImage image;
    };
    static constexpr std::size_t kCachedPictures = 12;
    const QImage& pictureFor(const TGraphic& graphic, QSize deviceSize);

    QPainter* painter_;
    int resolution_;
    int deviceX_;
    int deviceY_;
    std::map<std::string, std::unique_ptr<Font>> fonts_;
    Font* current_ = nullptr;
    std::vector<CachedPicture> pictures_; // most recently drawn last
    std::map<QString, bool> colourFonts_;  // by family: whether its glyphs are colour pictures
    bool darkPage_ = false;
};

} // namespace quillory
