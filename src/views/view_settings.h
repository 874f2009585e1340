#pragma once
// Profile values the sheet views read, in section "Sheet" with the others of sheet_painter.h.

namespace vorpane::sheet_settings {

// A turned field's editor is reached by a moving focus rectangle unless this is 0.
inline constexpr const char* kFieldAnimation = "FieldAnimation";
inline constexpr int kFieldAnimationDefault = 1;
// The zoom of the sheet views in percent, and whether the page follows the window's width.
inline constexpr const char* kZoom = "Zoom";
inline constexpr int kZoomDefault = 100;
inline constexpr const char* kZoomFitWidth = "ZoomFitWidth";
inline constexpr int kZoomFitWidthDefault = 0;

} // namespace vorpane::sheet_settings
