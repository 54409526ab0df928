// A 5 x 7 block font for the words drawn into pictures (the game-over panel). Only the
// capitals those words need are defined; draw_block_text rejects any other character.
#pragma once

#include <string>
#include <vector>

// A coverage mask: cells[y][x] is true where the scaled text has a pixel.
struct TextMask {
    int width = 0;
    int height = 0;
    std::vector<std::vector<bool>> cells;
};

// Each font pixel becomes a scale x scale block; letters are one font pixel apart.
// Throws std::invalid_argument for a character the font does not have.
TextMask draw_block_text(const std::string &text, int scale);
