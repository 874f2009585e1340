#pragma once
// EmfPlayback: one replay of a metafile's records onto a QPainter, with the drawing state a
// device context keeps (objects, colours, mapping mode, transforms, current position, path).
// Every shape is mapped to reference-device pixels first and drawn from there.

#include <QBrush>
#include <QColor>
#include <QPainterPath>
#include <QPen>
#include <QString>
#include <QTransform>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

class QPainter;

namespace vorpane {

class EmfPlayback {
public:
    // `deviceToPainter` maps reference-device pixels to the painter's device.
    EmfPlayback(
        QPainter& painter, const QTransform& deviceToPainter, uint32_t handleCount, double devicePixelsPerMm);

    // Plays all records; returns how many were skipped as unknown or malformed.
    int run(std::span<const uint8_t> data);

private:
    struct LogFont {
        double height = 0; // logical units; negative: character height, positive: cell height
        double escapement = 0; // tenths of a degree, counter-clockwise
        int weight = 400;
        bool italic = false;
        bool underline = false;
        bool strikeOut = false;
        QString face;
    };
    struct Object {
        enum Kind { Pen, Brush, Font } kind = Pen;
        QPen pen;
        QBrush brush;
        LogFont font;
    };
    struct State {
        QPen pen { Qt::black, 0 };
        QBrush brush { Qt::white };
        LogFont font;
        QColor textColour { Qt::black };
        QColor backgroundColour { Qt::white };
        uint32_t backgroundMode = 2;
        uint32_t textAlign = 0;
        uint32_t polyFillMode = 1;
        uint32_t mapMode = 1;
        QPointF windowOrigin { 0, 0 };
        QPointF windowExtent { 1, 1 };
        QPointF viewportOrigin { 0, 0 };
        QPointF viewportExtent { 1, 1 };
        QTransform world;
        QPointF current { 0, 0 };
    };

    bool play(uint32_t type, std::span<const uint8_t> record);

    // Logical units to reference-device pixels.
    QTransform logicalToDevice() const;
    double deviceScale() const;

    void drawPath(const QPainterPath& logical, bool fill, bool stroke);
    void drawDevicePath(const QPainterPath& device, bool fill, bool stroke);
    void addToPath(const QPainterPath& logical);

    bool polyRecord(uint32_t type, std::span<const uint8_t> record);
    bool polyPolyRecord(uint32_t type, std::span<const uint8_t> record);
    bool textRecord(bool wide, std::span<const uint8_t> record);
    bool stretchDiBits(std::span<const uint8_t> record);
    bool bitBlt(bool stretch, std::span<const uint8_t> record);
    bool drawDib(std::span<const uint8_t> record, uint32_t offInfo, uint32_t infoSize, uint32_t offBits,
        uint32_t bitsSize, const QRectF& destination, const QRect& source);
    bool selectObject(uint32_t handle);
    bool createPen(std::span<const uint8_t> record, bool extended);
    bool createFont(std::span<const uint8_t> record);
    bool worldTransform(std::span<const uint8_t> record, bool modify);

    QPainter& m_painter;
    QTransform m_deviceToPainter;
    uint32_t m_handleCount;
    double m_devicePixelsPerMm;
    State m_state;
    std::vector<State> m_saved;
    std::unordered_map<uint32_t, Object> m_objects;
    bool m_inPath = false;
    QPainterPath m_path; // in device pixels
};

} // namespace vorpane
