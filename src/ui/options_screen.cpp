// The Options screen's picture and where its rows stand; drawn every pass
// while the screen is open (shell/flow/options_entry.cpp).
#include "options_screen.h"

#include "pictures.h"
#include "present.h"

namespace {

constexpr int TITLE_TOP = 40;
constexpr int ROWS_TOP = 64;
constexpr int ROW_HEIGHT = 15;
constexpr int ROW_LEFT = 96;
constexpr int ROW_RIGHT = 544;
constexpr int LABEL_X = 104;
constexpr int HEADING_X = 88;
constexpr int VALUE_X = 296;
constexpr int PAD_X = 432;
constexpr int TEXT_DROP = 4; // the font's 8 pixels in the middle of a row
constexpr int FOOT_FROM_BOTTOM = 52;

} // namespace

void draw_options_screen(BITMAP *onto, const std::vector<OPTIONS_ROW> &rows, int lit,
                         const std::string &foot) {
    clear_to_color(onto, makecol(0, 0, 0));
    const int white = makecol(255, 255, 255);
    const int gold = makecol(255, 214, 64);
    textout_centre_ex(onto, font, "Options", onto->w / 2, TITLE_TOP, gold, -1);
    for (int i = 0; i < static_cast<int>(rows.size()); i++) {
        const OPTIONS_ROW &row = rows[i];
        const int top = ROWS_TOP + i * ROW_HEIGHT;
        int colour = row.heading ? gold : white;
        if (i == lit && !row.heading) {
            // The menu buttons' lit grey and black caption.
            rectfill(onto, ROW_LEFT, top, ROW_RIGHT, top + ROW_HEIGHT - 2, makecol(227, 227, 227));
            colour = makecol(0, 0, 0);
        }
        const int y = top + TEXT_DROP;
        textout_ex(onto, font, row.label.c_str(), row.heading ? HEADING_X : LABEL_X, y, colour, -1);
        textout_ex(onto, font, row.value.c_str(), VALUE_X, y, colour, -1);
        textout_ex(onto, font, row.pad.c_str(), PAD_X, y, colour, -1);
    }
    textout_centre_ex(onto, font, foot.c_str(), onto->w / 2, onto->h - FOOT_FROM_BOTTOM, white, -1);
    if (bmouse)
        draw_sprite(onto, bmouse, field_pointer_x(), field_pointer_y());
}

int options_row_at(int row_count, int x, int y) {
    if (x < ROW_LEFT || x > ROW_RIGHT || y < ROWS_TOP)
        return -1;
    const int row = (y - ROWS_TOP) / ROW_HEIGHT;
    return row < row_count ? row : -1;
}
