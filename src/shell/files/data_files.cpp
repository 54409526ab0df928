// The data files read into memory, checked, and parsed from there by the
// library; see data_files.h.
#include "data_files.h"

#include "data_checks.h"
#include "../../platform/platform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The largest picture the checks allow, at 32 bits a pixel, with room to
// spare; every other data file is far smaller.
constexpr size_t MAX_DATA_FILE = 4 * MAX_PICTURE_SIDE * MAX_PICTURE_SIDE + (1 << 20);

// A packfile the library reads from the checked bytes.
struct MemoryFile {
    const std::vector<unsigned char> &bytes;
    size_t at = 0;
};

int memory_close(void *) {
    return 0;
}

int memory_getc(void *file) {
    MemoryFile &m = *static_cast<MemoryFile *>(file);
    return m.at < m.bytes.size() ? m.bytes[m.at++] : EOF;
}

int memory_ungetc(int c, void *file) {
    MemoryFile &m = *static_cast<MemoryFile *>(file);
    if (m.at == 0)
        return EOF;
    m.at--;
    return c;
}

long memory_read(void *into, long n, void *file) {
    MemoryFile &m = *static_cast<MemoryFile *>(file);
    const size_t count = std::min(static_cast<size_t>(std::max(n, 0L)), m.bytes.size() - m.at);
    if (count)
        std::memcpy(into, m.bytes.data() + m.at, count);
    m.at += count;
    return static_cast<long>(count);
}

int memory_putc(int, void *) {
    return EOF;
}

long memory_write(const void *, long, void *) {
    return 0;
}

int memory_seek(void *file, int offset) {
    MemoryFile &m = *static_cast<MemoryFile *>(file);
    if (offset < 0 || static_cast<size_t>(offset) > m.bytes.size() - m.at)
        return -1;
    m.at += offset;
    return 0;
}

int memory_eof(void *file) {
    const MemoryFile &m = *static_cast<MemoryFile *>(file);
    return m.at >= m.bytes.size();
}

int memory_error(void *) {
    return 0;
}

const PACKFILE_VTABLE MEMORY_FILE = {memory_close, memory_getc, memory_ungetc,
                                     memory_read,  memory_putc, memory_write,
                                     memory_seek,  memory_eof,  memory_error};

// Runs one of the library's packfile loaders on the bytes.
template <class Loaded, class Loader>
Loaded *load_from(const std::vector<unsigned char> &bytes, Loader loader) {
    MemoryFile file{bytes};
    PACKFILE *packfile = pack_fopen_vtable(&MEMORY_FILE, &file);
    if (!packfile)
        return nullptr;
    Loaded *loaded = loader(packfile);
    pack_fclose(packfile);
    return loaded;
}

template <class Loaded, class Loader>
Loaded *load_checked(const char *name, bool (*usable)(const std::vector<unsigned char> &),
                     Loader loader) {
    const std::optional<std::vector<unsigned char>> bytes = read_data_file(name);
    if (!bytes || !usable(*bytes))
        return nullptr;
    return load_from<Loaded>(*bytes, loader);
}

} // namespace

std::optional<std::vector<unsigned char>> read_data_file(const char *name) {
    std::FILE *file = open_regular_file(name);
    if (!file)
        return std::nullopt;
    std::vector<unsigned char> bytes;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0 && static_cast<size_t>(size) <= MAX_DATA_FILE)
            bytes.reserve(static_cast<size_t>(size));
        std::rewind(file);
    }
    unsigned char block[1 << 16];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0 &&
           bytes.size() + got <= MAX_DATA_FILE)
        bytes.insert(bytes.end(), block, block + got);
    const bool whole = got == 0 && !std::ferror(file);
    std::fclose(file);
    if (!whole)
        bytes.clear();
    return bytes;
}

namespace {

PictureLoad load_checked_picture(const char *name, RGB *palette, BITMAP *&picture) {
    picture = nullptr;
    const std::optional<std::vector<unsigned char>> bytes = read_data_file(name);
    if (!bytes)
        return PictureLoad::MISSING;
    if (picture_is_usable(*bytes))
        picture =
            load_from<BITMAP>(*bytes, [palette](PACKFILE *f) { return load_bmp_pf(f, palette); });
    return picture ? PictureLoad::LOADED : PictureLoad::DAMAGED;
}

void report_damaged_picture(const char *name) {
    allegro_message("Can't open file %s !!!", name);
}

} // namespace

void use_checked_pictures() {
    picture_files = {load_checked_picture, report_damaged_picture};
}

SAMPLE *load_sound(const char *name) {
    return load_checked<SAMPLE>(name, sound_is_usable, load_wav_pf);
}

MIDI *load_music(const char *name) {
    return load_checked<MIDI>(name, music_is_usable, load_midi_pf);
}

bool patch_set_is_usable(const char *index_name) {
    const std::optional<std::vector<unsigned char>> index = read_data_file(index_name);
    if (!index)
        return false;
    const std::string name = index_name;
    const size_t slash = name.rfind('/');
    const std::string directory = slash == std::string::npos ? "" : name.substr(0, slash + 1);
    const std::optional<std::vector<std::string>> patches =
        patch_set_files(std::string(index->begin(), index->end()), directory);
    if (!patches || patches->empty())
        return false;
    for (const std::string &patch : *patches) {
        const std::optional<std::vector<unsigned char>> bytes = read_data_file(patch.c_str());
        if (!bytes || !patch_is_usable(*bytes))
            return false;
    }
    return true;
}
