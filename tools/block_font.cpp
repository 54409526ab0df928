// The block font of the game-over panel; see block_font.h.
#include "block_font.h"

#include <array>
#include <map>
#include <stdexcept>

namespace {

using Glyph = std::array<const char *, 7>;

const std::map<char, Glyph> &glyphs() {
    static const std::map<char, Glyph> font = {
        {' ', {".....", ".....", ".....", ".....", ".....", ".....", "....."}},
        {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
        {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
        {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
        {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
        {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
        {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
        {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
        {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
        {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
        {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
        {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
        {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    };
    return font;
}

} // namespace

TextMask draw_block_text(const std::string &text, int scale) {
    constexpr int glyph_width = 5, glyph_height = 7, advance = 6;
    TextMask mask;
    mask.width = text.empty() ? 0 : (static_cast<int>(text.size()) * advance - 1) * scale;
    mask.height = glyph_height * scale;
    mask.cells.assign(static_cast<std::size_t>(mask.height),
                      std::vector<bool>(static_cast<std::size_t>(mask.width), false));
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto found = glyphs().find(text[i]);
        if (found == glyphs().end()) {
            throw std::invalid_argument(std::string("block font has no '") + text[i] + "'");
        }
        const int left = static_cast<int>(i) * advance * scale;
        for (int gy = 0; gy < glyph_height; ++gy) {
            for (int gx = 0; gx < glyph_width; ++gx) {
                if (found->second[static_cast<std::size_t>(gy)][gx] != '#') {
                    continue;
                }
                for (int y = gy * scale; y < (gy + 1) * scale; ++y) {
                    for (int x = left + gx * scale; x < left + (gx + 1) * scale; ++x) {
                        mask.cells[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = true;
                    }
                }
            }
        }
    }
    return mask;
}
