#include "views/sheet_cursor.h"

#include <QImage>
#include <QPixmap>

namespace vorpane {

namespace {

// A hand with the index finger up; its tip is the hot spot. '#' outline, '.' fill.
constexpr const char* kHand[] = {
    "     ##          ",
    "    #..#         ",
    "    #..#         ",
    "    #..#         ",
    "    #..#         ",
    "    #..###       ",
    "    #..#..###    ",
    "    #..#..#..##  ",
    " ## #..#..#..#.# ",
    "#..##........#..#",
    "#...#...........#",
    " #..............#",
    "  #.............#",
    "  #............# ",
    "   #...........# ",
    "   #..........#  ",
    "    #.........#  ",
    "    #.........#  ",
    "     #.......#   ",
    "     #.......#   ",
    "     #########   ",
};
constexpr int kHotX = 5;
constexpr int kHotY = 0;

} // namespace

QCursor sheetHandCursor()
{
    const int rows = int(std::size(kHand));
    const int columns = int(std::char_traits<char>::length(kHand[0]));
    QImage image(columns, rows, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            if (kHand[y][x] == '#')
                image.setPixel(x, y, qRgb(0, 0, 0));
            else if (kHand[y][x] == '.')
                image.setPixel(x, y, qRgb(255, 255, 255));
        }
    }
    return QCursor(QPixmap::fromImage(image), kHotX, kHotY);
}

} // namespace vorpane
