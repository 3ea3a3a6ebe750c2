#include "SampleFiles.h"

#include <filesystem>
#include <stdexcept>
#include <string_view>

#include "Music.h"
#include "archive/AtomicFile.h"
#include "archive/Gbk.h"
#include "gfx/PictureFile.h"

namespace pagora::sample {

namespace {

// What the picture records hold: string[32] titles, string[255] descriptions.
constexpr size_t kMaxTitleBytes = 32;
constexpr size_t kMaxDescriptionBytes = 255;
// Camera-like quality; the whole sample album stays a few megabytes.
constexpr int kPhotoQuality = 86;

void Save(const std::string& path, const std::vector<uint8_t>& bytes) {
    AtomicFile file(path);
    file.Out().Write(bytes.data(), bytes.size());
    file.Commit();
}

void Save(const std::string& path, const std::string& text) {
    Save(path, std::vector<uint8_t>(text.begin(), text.end()));
}

}  // namespace

std::string ListText(const std::vector<Scene>& scenes) {
    std::string text = "# The sample album: photo, title, description, time (TAB-separated).\n";
    for (const Scene& s : scenes) {
        for (const char* field : {s.File, s.Title, s.Description, s.Time})
            if (std::string_view(field).find_first_of("\t\r\n") != std::string_view::npos)
                throw std::invalid_argument(std::string("a tab or line break in the list: ") +
                                            field);
        if (Utf8ToGbk(s.Title).size() > kMaxTitleBytes)
            throw std::length_error(std::string("title too long for the album: ") + s.Title);
        if (Utf8ToGbk(s.Description).size() > kMaxDescriptionBytes)
            throw std::length_error(std::string("description too long for the album: ") +
                                    s.Description);
        text += std::string(s.File) + "\t" + s.Title + "\t" + s.Description + "\t" + s.Time + "\n";
    }
    return text;
}

std::vector<uint8_t> PhotoJpeg(const QImage& photo) {
    return EncodeJpeg(photo, kPhotoQuality);
}

void WritePhoto(const std::string& folder, int index) {
    std::filesystem::create_directories(folder);
    const Scene& scene = Scenes().at(index);
    Save(folder + "/" + scene.File, PhotoJpeg(DrawScene(scene)));
}

void WriteSample(const std::string& folder) {
    const std::vector<Scene>& all = Scenes();
    for (size_t i = 0; i < all.size(); ++i)
        WritePhoto(folder, static_cast<int>(i));
    Save(folder + "/list.txt", ListText(all));
    // The small variants: landscapes, and a portrait among the three.
    Save(folder + "/list-two.txt", ListText({all[0], all[2]}));
    Save(folder + "/list-three.txt", ListText({all[1], all[4], all[5]}));
    Save(folder + "/" + kPianoTrackName, PianoTrackWav());
    Save(folder + "/" + kMelodyTrackName, MelodyTrackMidi());
}

}  // namespace pagora::sample
