// SheetPainter: the replay, the painter state and the drawing of shapes, fields and table entries.
// Text boxes are in sheet_painter_text.cpp, pictures in sheet_painter_pictures.cpp.

#include "sheet/sheet_painter.h"

#include "platform/cp1252.h"
#include "platform/profile.h"
#include "sheet/font_families.h"
#include "sheet/sheet_field.h"
#include "sheet/sheet_layout.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vorpane {

using script::ScriptValue;

namespace {

// Longest face name a font description holds.
constexpr size_t kMaxFaceLength = 31;
// Fonts beyond this (tenths of a point: 1000 points, letters some 35 cm high) are drawn at it, so
// a wild size cannot make the glyph cache take the machine's memory.
constexpr int32_t kMaxFontSize = 10000;
// GDI gives a font of height 0 its default size.
constexpr int32_t kDefaultFontSize = 100;
constexpr int kMaxWeight = 1000;
constexpr const char* kInitialFace = "Times New Roman";

QColor toQColor(SheetColour c) { return QColor(colourRed(c), colourGreen(c), colourBlue(c)); }

QPen hairline(SheetColour c)
{
    QPen pen(toQColor(c));
    pen.setWidth(0);
    pen.setStyle(Qt::SolidLine);
    return pen;
}

// Layout (y up) to the painter's working coordinates (y down).
QPointF point(int32_t x, int32_t y) { return QPointF(x, -double(y)); }

QRectF area(const SheetRect& r) { return QRectF(point(r.x1, r.y1), point(r.x2, r.y2)); }

// Whole degrees in 0..360; 360 stays 360.
int wholeDegrees(int32_t tenths)
{
    int degrees = tenths / 10;
    if (degrees > 360 || degrees < 0) {
        degrees %= 360;
        if (degrees < 0)
            degrees += 360;
    }
    return degrees;
}

bool valuesEqual(const ScriptValue& left, const ScriptValue& right)
{
    try {
        return script::binaryOperation(script::BinaryOp::Equal, left, right).toInteger() != 0;
    } catch (const script::ScriptError&) {
        return false;
    }
}

} // namespace

UserTextLook UserTextLook::fromProfile()
{
    UserTextLook look;
    look.colour = SheetColour(Profile::read(profile_keys::kUserTextColour)) & 0xFFFFFFu;
    look.face = Profile::read(profile_keys::kUserTextFace);
    look.italic = Profile::read(profile_keys::kUserTextItalic) != 0;
    look.weight = Profile::read(profile_keys::kUserTextWeight);
    return look;
}

QTransform sheetToDevice(double dpiX, double dpiY)
{
    return QTransform::fromScale(dpiX / kUnitsPerInch, -dpiY / kUnitsPerInch);
}

QFont SheetPainter::makeFont(
    const std::string& face, int32_t size, int weight, bool italic, bool underline, bool strikeOut)
{
    installFontSubstitutions();
    QFont font(fromCp1252(std::string_view(face).substr(0, kMaxFaceLength)));
    int32_t tenths = size == 0 ? kDefaultFontSize : std::min(std::abs(int64_t(size)), int64_t(kMaxFontSize));
    font.setPixelSize(std::max(1, int(std::lround(tenths * kUnitsPerPoint / 10.0))));
    if (weight > 0)
        font.setWeight(QFont::Weight(std::clamp(weight, 1, kMaxWeight)));
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    // Laid out at its design size, so that every resolution breaks lines alike.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    return font;
}

QFont SheetPainter::fontFor(const SheetFontItem* item)
{
    if (!item)
        return makeFont(kInitialFace, kDefaultFontSize, kWeightNormal, false, false, false);
    return makeFont(item->face, item->size, (item->style & FontBold) ? kWeightBold : kWeightNormal,
        item->style & FontItalic, item->style & FontUnderline, item->style & FontStrikethrough);
}

SheetPainter::SheetPainter(
    QPainter& painter, SheetLayout& layout, UserTextLook look, SheetPictureCache* pictures)
    : m_painter(painter)
    , m_layout(layout)
    , m_look(std::move(look))
    , m_pictures(pictures)
{
    if (!m_pictures) {
        m_ownPictures = std::make_unique<SheetPictureCache>();
        m_pictures = m_ownPictures.get();
    }
    m_painter.save();
    m_baseTransform = m_painter.worldTransform();
    // Work with y down so that text stands upright; the layout's y is negated at each use.
    m_painter.setWorldTransform(QTransform::fromScale(1, -1) * m_baseTransform);
    m_linePen = hairline(kColourBlack);
    m_userTextPen = hairline(m_look.colour);
    m_font = fontFor(nullptr);
    m_userFont = makeFont(m_look.face, m_userTextSize, m_look.weight, m_look.italic, false, false);
}

SheetPainter::~SheetPainter() { m_painter.restore(); }

void SheetPainter::replay()
{
    m_painter.fillRect(QRectF(0, 0, m_layout.pageWidth(), m_layout.pageHeight()), Qt::white);
    m_painter.setBackgroundMode(Qt::TransparentMode);
    m_painter.setPen(m_linePen);
    m_painter.setBrush(Qt::NoBrush);
    m_checkBoxShadow = m_layout.sheetParameter(kCheckboxShadowOffset, 0);
    SheetHost* host = m_layout.host();
    if (host)
        host->beginReplay(*this);
    for (const auto& item : m_layout.items()) {
        if (host)
            host->drawItem(*this, *item);
        else
            drawItem(*item);
    }
}

void SheetPainter::drawItem(SheetItem& item)
{
    switch (item.kind()) {
    case SheetItemKind::Line:
    case SheetItemKind::Rectangle:
        drawShape(static_cast<const SheetShapeItem&>(item));
        break;
    case SheetItemKind::FittedPicture:
    case SheetItemKind::StretchedPicture: {
        const auto& picture = static_cast<const SheetPictureItem&>(item);
        drawPictureFile(picture.rect, picture.fileName, item.kind() == SheetItemKind::FittedPicture);
        break;
    }
    case SheetItemKind::Text: {
        const auto& text = static_cast<const SheetTextItem&>(item);
        drawTextBox(SheetRect { text.x, text.y, text.x, text.y }, text.text, text.style & ~TextClipped);
        break;
    }
    case SheetItemKind::TextBox: {
        const auto& box = static_cast<const SheetTextBoxItem&>(item);
        drawTextBox(box.rect, box.text, box.style);
        break;
    }
    case SheetItemKind::FilledRectangle:
        drawFill(static_cast<const SheetFillItem&>(item));
        break;
    case SheetItemKind::LineColour:
        m_linePen = hairline(static_cast<const SheetColourItem&>(item).colour);
        m_painter.setPen(m_linePen);
        break;
    case SheetItemKind::TextColour:
        m_textColour = static_cast<const SheetColourItem&>(item).colour;
        break;
    case SheetItemKind::FieldTextStyle:
        m_fieldTextStyle = static_cast<const SheetTextStyleItem&>(item).style;
        break;
    case SheetItemKind::Font:
    case SheetItemKind::FontRotated:
        setFont(static_cast<const SheetFontItem&>(item));
        break;
    case SheetItemKind::UserTextSize:
    case SheetItemKind::UserTextSizeRotated:
        setUserTextSize(static_cast<const SheetUserTextItem&>(item));
        break;
    case SheetItemKind::PlacedField:
        drawPlacedField(static_cast<PlacedField&>(item));
        break;
    case SheetItemKind::TableEntry:
        drawTableEntry(static_cast<TableEntry&>(item));
        break;
    case SheetItemKind::SheetParameter:
        break;
    }
}

void SheetPainter::setFont(const SheetFontItem& item)
{
    m_font = fontFor(&item);
    m_fontRotation = wholeDegrees(item.rotation);
    m_fontItem = &item;
}

void SheetPainter::setUserTextSize(const SheetUserTextItem& item)
{
    m_userTextSize = item.size;
    m_userTextRotation = item.rotation;
    m_userFont = makeFont(m_look.face, item.size, m_look.weight, m_look.italic, false, false);
    m_userFontRotation = wholeDegrees(item.rotation);
}

void SheetPainter::drawShape(const SheetShapeItem& item)
{
    m_painter.setPen(m_linePen);
    if (item.kind() == SheetItemKind::Line) {
        m_painter.drawLine(point(item.rect.x1, item.rect.y1), point(item.rect.x2, item.rect.y2));
        return;
    }
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(area(item.rect).normalized());
}

void SheetPainter::drawFill(const SheetFillItem& item)
{
    m_painter.save();
    m_painter.setPen(hairline(item.colour));
    m_painter.setBrush(toQColor(item.colour));
    m_painter.drawRect(area(item.rect).normalized());
    m_painter.restore();
}

void SheetPainter::capture(PlacedField& placement) const
{
    placement.context.font = m_fontItem;
    placement.context.textColour = m_textColour;
    placement.context.fieldTextStyle = m_fieldTextStyle;
    placement.context.userTextSize = m_userTextSize;
    placement.context.userTextRotation = m_userTextRotation;
}

void SheetPainter::drawCheckBox(const SheetRect& rect, bool crossed)
{
    m_painter.save();
    m_painter.setPen(m_linePen);
    const int32_t s = m_checkBoxShadow;
    if (s > 0) {
        m_painter.setBrush(Qt::black);
        m_painter.drawRect(
            area(SheetRect { rect.x1 + s, rect.y1 - s, rect.x2 + s, rect.y2 - s }).normalized());
    }
    m_painter.setBrush(Qt::white);
    const QRectF box = area(rect).normalized();
    m_painter.drawRect(box);
    if (crossed) {
        m_painter.setPen(m_userTextPen);
        m_painter.drawLine(point(rect.x1, rect.y1), point(rect.x2, rect.y2));
        m_painter.drawLine(point(rect.x1, rect.y2), point(rect.x2, rect.y1));
    }
    m_painter.restore();
}

void SheetPainter::drawPlacedField(PlacedField& placement)
{
    capture(placement);
    const SheetField& field = *placement.field;
    const ScriptValue value = field.value(&placement);
    if (field.isPicture()) {
        drawPictureFile(placement.rect, value.toText(), true);
    } else if (field.isCheckBox()) {
        int32_t checked = 0;
        try {
            checked = value.toInteger();
        } catch (const script::ScriptError&) {
        }
        drawCheckBox(placement.rect, checked != 0);
    } else {
        drawTextBox(placement.rect, value.toText(), m_fieldTextStyle);
    }
}

void SheetPainter::drawTableEntry(TableEntry& entry)
{
    capture(entry);
    if (!valuesEqual(entry.field->value(&entry), entry.value))
        return;
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setPen(m_userTextPen);
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawEllipse(area(entry.rect).normalized());
    m_painter.restore();
}

QImage renderSheet(SheetLayout& layout, double dpi, const UserTextLook& look, SheetPictureCache* pictures)
{
    if (!(dpi > 0) || !std::isfinite(dpi))
        return {};
    const double width = std::ceil(layout.pageWidth() * dpi / kUnitsPerInch);
    const double height = std::ceil(layout.pageHeight() * dpi / kUnitsPerInch);
    if (width < 1 || height < 1 || width * height > double(kMaxRenderPixels))
        return {};
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const int dotsPerMetre = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setWorldTransform(sheetToDevice(dpi, dpi));
    SheetPainter sheetPainter(painter, layout, look, pictures);
    sheetPainter.replay();
    return image;
}

} // namespace vorpane
