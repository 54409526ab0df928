// contact_sheet DATADIR OUT.bmp: lays every picture of the game out on one 24-bit BMP
// for a person to look at: sprite frames doubled on a grey checkerboard (so transparent
// pixels show as checks), the game-over panel and pointer, the backgrounds at half size,
// and the sprites on a patch of each ground at game size. `make sheet` runs it.
#include "bmp_reader.h"
#include "byte_io.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

class Sheet {
  public:
    Sheet(int width, int height) : width_(width), height_(height) {
        pixels_.resize(static_cast<std::size_t>(width * height));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool light = ((x / 8) + (y / 8)) % 2 == 0;
                pixels_[static_cast<std::size_t>(y * width + x)] =
                    light ? Rgb{168, 168, 168} : Rgb{128, 128, 128};
            }
        }
    }

    // Pastes a picture scaled by zoom/shrink; index 0 is left out, as the game's
    // masked drawing does.
    void paste(const IndexedPicture &picture, int left, int top, int zoom, int shrink = 1) {
        const IndexedImage &image = picture.image;
        for (int y = 0; y < image.height() * zoom / shrink; ++y) {
            for (int x = 0; x < image.width() * zoom / shrink; ++x) {
                const std::uint8_t index = image.at(x * shrink / zoom, y * shrink / zoom);
                if (index != 0) {
                    put(left + x, top + y, picture.colours[index]);
                }
            }
        }
    }

    // A window onto part of a picture at full size.
    void paste_crop(const IndexedPicture &picture, int source_x, int source_y, int width,
                    int height, int left, int top) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::uint8_t index = picture.image.at(source_x + x, source_y + y);
                if (index != 0) {
                    put(left + x, top + y, picture.colours[index]);
                }
            }
        }
    }

    void write(const std::string &path) const {
        const std::uint32_t row_bytes = (static_cast<std::uint32_t>(width_) * 3u + 3u) & ~3u;
        const std::uint32_t pixel_bytes = row_bytes * static_cast<std::uint32_t>(height_);
        std::vector<std::uint8_t> out = {'B', 'M'};
        put_le32(out, 54 + pixel_bytes);
        put_le32(out, 0);
        put_le32(out, 54);
        put_le32(out, 40);
        put_le32(out, static_cast<std::uint32_t>(width_));
        put_le32(out, static_cast<std::uint32_t>(height_));
        put_le16(out, 1);
        put_le16(out, 24);
        put_le32(out, 0);
        put_le32(out, pixel_bytes);
        put_le32(out, 2835);
        put_le32(out, 2835);
        put_le32(out, 0);
        put_le32(out, 0);
        for (int y = height_ - 1; y >= 0; --y) {
            std::uint32_t written = 0;
            for (int x = 0; x < width_; ++x) {
                const Rgb c = pixels_[static_cast<std::size_t>(y * width_ + x)];
                out.insert(out.end(), {c.b, c.g, c.r});
                written += 3;
            }
            for (; written < row_bytes; ++written) {
                out.push_back(0);
            }
        }
        write_file(path, out);
    }

  private:
    void put(int x, int y, Rgb colour) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) {
            pixels_[static_cast<std::size_t>(y * width_ + x)] = colour;
        }
    }

    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

struct SpriteSet {
    const char *name;
    int frames;
};

const SpriteSet sprite_sets[] = {{"green", 2},  {"yellow", 2}, {"red", 2},  {"blue", 2},
                                 {"player", 4}, {"fire", 3},   {"train", 3}};

void lay_out(const std::string &directory, const std::string &output) {
    auto load = [&directory](const std::string &name) {
        return read_indexed_bmp(directory + "/" + name);
    };
    constexpr int gap = 16, cell = 64 + 8;
    Sheet sheet(3 * 320 + 4 * gap, 3 * (cell + gap) + gap + 2 * (240 + gap));

    // Rows of doubled frames: the fruit; the player and the shot; the train and pointer.
    int x = gap, y = gap;
    for (const SpriteSet &set : sprite_sets) {
        const std::string name = set.name;
        if (name == "player" || name == "train") {
            x = gap;
            y += cell + gap;
        }
        for (int frame = 0; frame < set.frames; ++frame) {
            sheet.paste(load(name + std::to_string(frame) + ".dat"), x, y, 2);
            x += cell;
        }
        x += gap;
    }
    sheet.paste(load("mouse.dat"), x, y, 2);
    sheet.paste(load("lost.dat"), 3 * 320 + 3 * gap - 320, gap, 1);

    // Backgrounds at half size, then the top-left corner of each at game size with
    // sprites placed where the game puts them: trains on the track, the rest in the field.
    const int backgrounds_top = 3 * (cell + gap) + gap;
    const int scenes_top = backgrounds_top + 240 + gap;
    const struct {
        const char *file;
        int centre_x, centre_y;
    } scene[] = {{"train0.dat", 120, 16},   {"train2.dat", 16, 170}, {"green0.dat", 60, 60},
                 {"yellow1.dat", 110, 70},  {"red0.dat", 160, 60},   {"blue1.dat", 210, 70},
                 {"player1.dat", 90, 130},  {"fire0.dat", 150, 130}, {"fire1.dat", 16, 100},
                 {"player2.dat", 250, 180}, {"fire2.dat", 250, 130}, {"green1.dat", 60, 200}};
    for (int level = 0; level < 3; ++level) {
        const IndexedPicture back = load("back" + std::to_string(level) + ".dat");
        const int left = gap + level * (320 + gap);
        sheet.paste(back, left, backgrounds_top, 1, 2);
        sheet.paste_crop(back, 0, 0, 320, 240, left, scenes_top);
        for (const auto &item : scene) {
            sheet.paste(load(item.file), left + item.centre_x - 16, scenes_top + item.centre_y - 16,
                        1);
        }
    }
    sheet.write(output);
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::cerr << "usage: contact_sheet DATADIR OUT.bmp\n";
        return 2;
    }
    try {
        lay_out(argv[1], argv[2]);
    } catch (const std::exception &error) {
        std::cerr << "contact_sheet: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
