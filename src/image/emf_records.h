#pragma once
// Record types and constants of enhanced metafiles that the player knows.

#include <cstdint>

namespace vorpane::emf {

enum Record : uint32_t {
    Header = 1,
    PolyBezier = 2,
    Polygon = 3,
    Polyline = 4,
    PolyBezierTo = 5,
    PolylineTo = 6,
    PolyPolyline = 7,
    PolyPolygon = 8,
    SetWindowExtEx = 9,
    SetWindowOrgEx = 10,
    SetViewportExtEx = 11,
    SetViewportOrgEx = 12,
    Eof = 14,
    SetMapMode = 17,
    SetBkMode = 18,
    SetPolyFillMode = 19,
    SetTextAlign = 22,
    SetTextColor = 24,
    SetBkColor = 25,
    MoveToEx = 27,
    SaveDc = 33,
    RestoreDc = 34,
    SetWorldTransform = 35,
    ModifyWorldTransform = 36,
    SelectObject = 37,
    CreatePen = 38,
    CreateBrushIndirect = 39,
    DeleteObject = 40,
    Ellipse = 42,
    Rectangle = 43,
    RoundRect = 44,
    LineTo = 54,
    BeginPath = 59,
    EndPath = 60,
    CloseFigure = 61,
    FillPath = 62,
    StrokeAndFillPath = 63,
    StrokePath = 64,
    AbortPath = 68,
    BitBlt = 76,
    StretchBlt = 77,
    StretchDiBits = 81,
    ExtCreateFontIndirectW = 82,
    ExtTextOutA = 83,
    ExtTextOutW = 84,
    PolyBezier16 = 85,
    Polygon16 = 86,
    Polyline16 = 87,
    PolyBezierTo16 = 88,
    PolylineTo16 = 89,
    PolyPolyline16 = 90,
    PolyPolygon16 = 91,
    ExtCreatePen = 95,
};

constexpr uint32_t kSignature = 0x464D4520; // " EMF"
constexpr uint32_t kStockObject = 0x80000000u;

enum StockObject : uint32_t {
    WhiteBrush = 0,
    LightGreyBrush = 1,
    GreyBrush = 2,
    DarkGreyBrush = 3,
    BlackBrush = 4,
    NullBrush = 5,
    WhitePen = 6,
    BlackPen = 7,
    NullPen = 8,
    FirstStockFont = 10,
    LastStockFont = 17,
};

enum MapMode : uint32_t {
    Text = 1,
    LoMetric = 2,
    HiMetric = 3,
    LoEnglish = 4,
    HiEnglish = 5,
    Twips = 6,
    Isotropic = 7,
    Anisotropic = 8,
};

enum PenStyle : uint32_t {
    PenSolid = 0,
    PenDash = 1,
    PenDot = 2,
    PenDashDot = 3,
    PenDashDotDot = 4,
    PenNull = 5,
    PenInsideFrame = 6,
    PenStyleMask = 0x0F,
    PenEndCapMask = 0x0F00,
    PenEndCapSquare = 0x0100,
    PenEndCapFlat = 0x0200,
    PenJoinMask = 0xF000,
    PenJoinBevel = 0x1000,
    PenJoinMiter = 0x2000,
    PenGeometric = 0x00010000,
};

enum BrushStyle : uint32_t { BrushSolid = 0, BrushNull = 1, BrushHatched = 2 };

enum TextAlign : uint32_t {
    AlignUpdateCp = 1,
    AlignRight = 2,
    AlignCenter = 6,
    AlignHorizontalMask = 6,
    AlignBottom = 8,
    AlignBaseline = 24,
    AlignVerticalMask = 24,
};

constexpr uint32_t kBkTransparent = 1;
constexpr uint32_t kFillWinding = 2;

enum WorldTransformMode : uint32_t { Identity = 1, LeftMultiply = 2, RightMultiply = 3, Set = 4 };

enum RasterOp : uint32_t { Blackness = 0x00000042, PatCopy = 0x00F00021, Whiteness = 0x00FF0062 };

} // namespace vorpane::emf
