#pragma once
// SheetPainter: one replay of a SheetLayout onto a QPainter (screen bitmap, printer, PDF, PNG).
// The painter maps sheet units (0.01 mm, y up) to the surface with one scale factor, device
// pixels per 0.01 mm; fonts are sized in sheet units (a point is 2540/72 units), so every surface
// lays text out alike and only the resolution differs. The painter's own state follows the
// drawing list: line pen, text colour, current font, field text style, the user-text look.
//
// The view's SheetHost draws each item; its default is drawItem() here, which table rows and
// other view-specific drawing fall back on. The public drawing operations below are what such
// hosts build on.

#include "platform/profile_keys.h"
#include "sheet/sheet_item.h"
#include "sheet/sheet_item_types.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QTransform>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>

class QPainter;

namespace vorpane {

class EnhancedMetafile;
class Image;
class SheetLayout;

// What the player writes on a sheet looks like this (the profile keys kUserText...).
struct UserTextLook {
    SheetColour colour = profile_keys::kUserTextColour.defaultValue;
    std::string face = profile_keys::kUserTextFace.defaultValue;
    bool italic = profile_keys::kUserTextItalic.defaultValue != 0;
    int weight = profile_keys::kUserTextWeight.defaultValue;

    static UserTextLook fromProfile();
};

// Sheet units per point.
constexpr double kUnitsPerPoint = 2540.0 / 72.0;
// Sheet units per inch.
constexpr double kUnitsPerInch = 2540.0;

// Sheet units (y up) to device pixels at `dpi` with the page's top-left corner at the origin.
QTransform sheetToDevice(double dpiX, double dpiY);

// Rotated text: the corner it starts from and the length of its writing line, by the quarter
// that the angle (whole degrees) falls in, counting from 45 degrees before each axis.
struct RotatedRun {
    int32_t x;
    int32_t y;
    int32_t length;
};
RotatedRun rotatedRun(const SheetRect& rect, int degrees);

// Decoded pictures kept between replays, keyed by path; an entry is reloaded when its file's
// size or time changes. Without a cache every replay reloads every picture. What the cache holds
// is bounded by bytes: past kMaxPictureCacheBytes the pictures used least recently go first, so a
// handout with hundreds of large pictures cannot take all memory.
class SheetPictureCache {
public:
    static constexpr size_t kMaxPictureCacheBytes = 192u * 1024 * 1024;

    explicit SheetPictureCache(size_t maxBytes = kMaxPictureCacheBytes);
    ~SheetPictureCache();
    SheetPictureCache(const SheetPictureCache&) = delete;
    SheetPictureCache& operator=(const SheetPictureCache&) = delete;

    // Null when the file does not load.
    const Image* image(const std::string& path);
    // The same picture in the form that is drawn (converted once).
    const QImage* pixels(const std::string& path);
    const EnhancedMetafile* metafile(const std::string& path);
    void clear();
    size_t size() const;
    // Bytes of the decoded pictures held.
    size_t heldBytes() const { return m_heldBytes; }

private:
    struct Entry;
    Entry* entry(const std::string& path);
    // Counts what an entry now holds and drops the least recently used others past the bound.
    void account(Entry& entry, size_t bytes);
    std::unordered_map<std::string, std::unique_ptr<Entry>> m_entries;
    std::list<std::string> m_recent; // most recently used first
    size_t m_maxBytes;
    size_t m_heldBytes = 0;
};

class SheetPainter {
public:
    // `painter` must already map sheet units to the surface (sheetToDevice, or the same scale
    // with a translation for print margins).
    SheetPainter(QPainter& painter, SheetLayout& layout, UserTextLook look = UserTextLook::fromProfile(),
        SheetPictureCache* pictures = nullptr);
    ~SheetPainter();
    SheetPainter(const SheetPainter&) = delete;
    SheetPainter& operator=(const SheetPainter&) = delete;

    // The white page, then every item through the layout's host (or drawItem without one).
    void replay();

    // The default drawing of one item.
    void drawItem(SheetItem& item);

    // --- Building blocks for hosts -------------------------------------------------------------
    void drawTextBox(const SheetRect& rect, const std::string& text, TextStyle style);
    // The same in a font of the caller's (for example the current font with another weight).
    void drawTextBox(const SheetRect& rect, const std::string& text, TextStyle style, const QFont& font);
    // Loads (or takes from the cache) and draws a picture file; unknown or broken files draw nothing.
    void drawPictureFile(const SheetRect& rect, const std::string& fileName, bool fitted);
    // A picture already loaded (the investigator's portrait).
    void drawImage(const SheetRect& rect, const Image& image, bool fitted);
    void drawCheckBox(const SheetRect& rect, bool crossed);
    // A placement's default drawing (picture, check box or text box), capturing its context.
    void drawPlacedField(PlacedField& placement);
    void drawTableEntry(TableEntry& entry);
    void capture(PlacedField& placement) const;

    QPainter& painter() { return m_painter; }
    SheetLayout& layout() { return m_layout; }
    const QFont& currentFont() const { return m_font; }
    const SheetFontItem* currentFontItem() const { return m_fontItem; }
    // Whole degrees in 0..360.
    int currentFontRotation() const { return m_fontRotation; }
    TextStyle fieldTextStyle() const { return m_fieldTextStyle; }
    SheetColour textColour() const { return m_textColour; }
    int32_t checkBoxShadow() const { return m_checkBoxShadow; }
    const UserTextLook& userTextLook() const { return m_look; }

    // The font a placement was drawn in (its captured font item; none is the initial font).
    static QFont fontFor(const SheetFontItem* item);
    // A font description as the sheet builds it: size in tenths of a point, rotation in tenths of a degree.
    static QFont makeFont(
        const std::string& face, int32_t size, int weight, bool italic, bool underline, bool strikeOut);

private:
    void setFont(const SheetFontItem& item);
    void setUserTextSize(const SheetUserTextItem& item);
    void drawShape(const SheetShapeItem& item);
    void drawFill(const SheetFillItem& item);
    void drawText(const SheetRect& rect, const std::string& text, TextStyle style, const QFont& font,
        int rotation, const QColor& colour);
    void drawUnderlines(const SheetRect& rect, const QFont& font);
    void drawPixels(const SheetRect& rect, const QImage& pixels, bool fitted);
    void drawMetafile(const SheetRect& rect, const EnhancedMetafile& metafile, bool fitted);

    QPainter& m_painter;
    SheetLayout& m_layout;
    UserTextLook m_look;
    SheetPictureCache* m_pictures;
    std::unique_ptr<SheetPictureCache> m_ownPictures; // one replay's pictures when none is shared

    QPen m_linePen;
    QPen m_userTextPen;
    SheetColour m_textColour = kColourBlack;
    QFont m_font;
    int m_fontRotation = 0;
    const SheetFontItem* m_fontItem = nullptr;
    TextStyle m_fieldTextStyle = TextNormal;
    QFont m_userFont;
    int32_t m_userTextSize = 100;
    int32_t m_userTextRotation = 0;
    int m_userFontRotation = 0;
    int32_t m_checkBoxShadow = 0;
    QTransform m_baseTransform;
};

// Paints the layout into a new image of the page's size at `dpi` (white page, 32-bit).
// A page larger than kMaxRenderPixels is refused with a null image.
constexpr int64_t kMaxRenderPixels = int64_t(8000) * 8000;
QImage renderSheet(SheetLayout& layout, double dpi, const UserTextLook& look = UserTextLook::fromProfile(),
    SheetPictureCache* pictures = nullptr);

} // namespace vorpane
