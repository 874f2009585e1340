#pragma once
// EnhancedMetafile: our own reader of enhanced metafiles (".emf"). It takes the header's frame
// (the picture's size in 0.01 mm, which fitted pictures keep the aspect ratio of) and plays the
// common drawing records onto a QPainter: lines, polylines, polygons and Bezier curves, paths,
// rectangles and ellipses, pens, brushes, fonts and text, bitmaps, mapping modes and transforms.
// Records it does not know are skipped.

#include <QRect>
#include <QRectF>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class QPainter;

namespace vorpane {

// Whether a file name ends in ".emf" (case ignored): such files are played as metafiles, any
// other picture is loaded as an Image.
bool isMetafileName(const std::string& fileName);

class EnhancedMetafile {
public:
    // False (and an empty metafile) when the file is missing, too large or has no valid header.
    bool load(const std::string& fileName);
    bool loadData(std::span<const uint8_t> data);

    bool isNull() const { return m_data.empty(); }
    // The picture's frame in 0.01 mm: left, top, right, bottom as the header gives them.
    QRect frame() const { return m_frame; }
    // Frame width over frame height; 0 for an empty metafile.
    double aspectRatio() const;

    // Plays the records so that the frame fills `destination` (the frame's top goes to
    // destination.top() even when the height is negative). Returns how many records were
    // skipped as unknown or malformed.
    int play(QPainter& painter, const QRectF& destination) const;

    // The header's reference device: its size in pixels and in millimetres.
    QSize deviceSize() const { return m_devicePixels; }
    QSize deviceMillimetres() const { return m_deviceMillimetres; }
    uint32_t handleCount() const { return m_handles; }

private:
    std::vector<uint8_t> m_data;
    QRect m_frame;
    QSize m_devicePixels;
    QSize m_deviceMillimetres;
    uint32_t m_handles = 0;
};

} // namespace vorpane
