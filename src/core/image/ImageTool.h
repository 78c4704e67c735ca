// The ten drawing tools of the image editor with their menu texts, command
// prompts, the moment each takes its undo snapshot, its cursor and the
// rubber band it shows while the button is down.
#pragma once

#include <array>
#include <cstddef>

namespace varn {

enum class ImageTool {
    Pencil,
    Brush,
    Line,
    HollowRectangle,
    SolidRectangle,
    HollowEllipse,
    SolidEllipse,
    Fill,
    Dropper,
    Select
};

enum class UndoMoment { Press, Release, None };
enum class ToolCursor { Pencil, Brush, Shape, Fill, Dropper };
enum class BandShape { None, Line, Rectangle, Ellipse };

struct ImageToolInfo {
    ImageTool tool;
    const char* menuText;
    const char* prompt;  // status text, "\n", tool tip
    UndoMoment undo;
    ToolCursor cursor;
    BandShape band;
};

inline constexpr int kImageToolCount = 10;

inline constexpr std::array<ImageToolInfo, kImageToolCount> kImageTools = {{
    {ImageTool::Pencil, "&Pencil", "Draws using a single pixel pencil\nPencil", UndoMoment::Press, ToolCursor::Pencil,
     BandShape::None},
    {ImageTool::Brush, "&Brush", "Draws using a brush with a selected size\nBrush", UndoMoment::Press,
     ToolCursor::Brush, BandShape::None},
    {ImageTool::Line, "&Line", "Draws a straight line\nLine", UndoMoment::Release, ToolCursor::Shape, BandShape::Line},
    {ImageTool::HollowRectangle, "Hollow R&ectangle", "Draws a hollow rectangle\nRectangle", UndoMoment::Release,
     ToolCursor::Shape, BandShape::Rectangle},
    {ImageTool::SolidRectangle, "Solid &Rectangle", "Draws a solid rectangle\nSolid Rectangle", UndoMoment::Release,
     ToolCursor::Shape, BandShape::Rectangle},
    {ImageTool::HollowEllipse, "Hollow Ell&ipse", "Draws a hollow ellipse\nEllipse", UndoMoment::Release,
     ToolCursor::Shape, BandShape::Ellipse},
    {ImageTool::SolidEllipse, "Solid &Ellipse", "Draws a solid ellipse\nSolid Ellipse", UndoMoment::Release,
     ToolCursor::Shape, BandShape::Ellipse},
    {ImageTool::Fill, "&Fill", "Fills an area\nFill", UndoMoment::Press, ToolCursor::Fill, BandShape::None},
    {ImageTool::Dropper, "&Color Dropper", "Get the color of a pixel\nGet pixel color", UndoMoment::None,
     ToolCursor::Dropper, BandShape::None},
    {ImageTool::Select, "&Select", "Selects a copy / paste region\nSelect", UndoMoment::None, ToolCursor::Shape,
     BandShape::Rectangle},
}};

inline constexpr const ImageToolInfo& imageToolInfo(ImageTool t) { return kImageTools[static_cast<std::size_t>(t)]; }

}  // namespace varn
