#include "tools/skintool/SkinCheck.h"

#include "skin/data/Bmp.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinVocabulary.h"
#include "skin/data/WinSkinIni.h"

#include <set>

namespace skintool {

namespace {

std::string lowerAscii(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return r;
}

// Files of a SkinFiles handed to the model builder.
class FilesSource final : public TSkinFileSource {
public:
    explicit FilesSource(const SkinFiles& skin) : skin_(skin) {}
    std::vector<uint8_t> Extract(std::string_view name) const override {
        const SkinFile* f = skin_.find(name);
        return f ? f->data : std::vector<uint8_t>{};
    }

private:
    const SkinFiles& skin_;
};

class Checker {
public:
    Checker(const SkinFiles& skin, CheckReport& report) : skin_(skin), r_(report) {}

    void run();

private:
    void error(std::string where, std::string text) { r_.findings.push_back({Finding::Error, std::move(where), std::move(text)}); }
    void warn(std::string where, std::string text) { r_.findings.push_back({Finding::Warning, std::move(where), std::move(text)}); }

    void checkVocabulary();
    void checkImages();
    void checkModel();
    // Checks the image named by section/key against `frames` equal frames
    // (side by side, or stacked when `stacked`); frames <= 0 skips the
    // division test. Returns the decoded image (empty when unusable).
    Image image(const std::string& section, const std::string& key, int frames, bool stacked);
    void fixedFrames(const std::string& section, int frames);
    bool hasSection(std::string_view name) const { return ini_.SectionIndex(name) >= 0; }
    bool hasKey(const std::string& section, const std::string& key) const {
        return !ini_.ReadString(section, key, "").empty();
    }

    const SkinFiles& skin_;
    CheckReport& r_;
    TQuickIni ini_;
    std::set<std::string> referenced_;  // lower-case file names of image keys
};

void Checker::run() {
    std::vector<const SkinFile*> settings;
    for (const SkinFile& f : skin_.files)
        if (lowerAscii(f.name).find(".ini") != std::string::npos) settings.push_back(&f);
    if (settings.empty()) {
        error("", "no settings file (a name containing \".ini\")");
        return;
    }
    if (settings.size() > 1)
        error(settings[1]->name, "a second settings file; the reader only reads " + settings[0]->name);
    r_.settingsName = settings[0]->name;
    ini_.LoadFromText(std::string_view(reinterpret_cast<const char*>(settings[0]->data.data()), settings[0]->data.size()));
    if (ini_.Sections().empty()) error(r_.settingsName, "the settings file has no sections");

    checkVocabulary();
    checkImages();
    for (const SkinFile& f : skin_.files) {
        std::string lower = lowerAscii(f.name);
        if (&f == settings[0] || lower.find(".ini") != std::string::npos) continue;
        if (!referenced_.count(lower)) warn(f.name, "not named by any image key of the settings");
    }
    checkModel();
}

void Checker::checkVocabulary() {
    const auto& lines = ini_.Lines();
    const auto& headers = ini_.Sections();
    std::vector<std::string> seen;
    for (size_t h = 0; h < headers.size(); ++h) {
        std::string_view header = TQuickIni::Trim(headers[h].first);
        std::string name(TQuickIni::Trim(header.substr(1, header.size() - 2)));
        std::string where = "[" + name + "]";
        bool repeated = false;
        for (const std::string& s : seen) repeated |= EqualsNoCase(s, name);
        seen.push_back(name);
        if (repeated) {
            warn(where, "section repeated; only its first occurrence is read");
            continue;
        }
        const SkinSection* spec = FindSkinSection(name);
        if (!spec) {
            warn(where, "unknown section (not read by the skin engine)");
            continue;
        }
        size_t end = h + 1 < headers.size() ? size_t(headers[h + 1].second) : lines.size();
        std::set<std::string> keys;
        for (size_t i = size_t(headers[h].second) + 1; i < end; ++i) {
            std::string_view line = lines[i];
            size_t eq = line.find('=');
            if (eq == std::string_view::npos) {
                warn(where, "line without \"=\" ignored: " + std::string(line));
                continue;
            }
            std::string key(TQuickIni::Trim(line.substr(0, eq)));
            if (!keys.insert(lowerAscii(key)).second) {
                warn(where + " " + key, "key repeated; only the first is read");
                continue;
            }
            if (!FindSkinKey(*spec, key)) warn(where + " " + key, "unknown key (not read by the skin engine)");
        }
    }
}

Image Checker::image(const std::string& section, const std::string& key, int frames, bool stacked) {
    std::string value = ini_.ReadString(section, key, "");
    if (value.empty()) return {};
    std::string where = "[" + section + "] " + key;
    size_t cut = value.find_last_of("\\:");
    std::string file = cut == std::string::npos ? value : value.substr(cut + 1);
    size_t dot = file.rfind('.');
    std::string ext = dot == std::string::npos ? "" : file.substr(dot);
    referenced_.insert(lowerAscii(file));
    if (file.empty() || ext != ".bmp") {
        error(where, "\"" + value + "\": the reader loads only names ending in \".bmp\" (lower case); "
                     "this image would be empty");
        return {};
    }
    const SkinFile* f = skin_.find(file);
    if (!f) {
        error(where, "missing image " + file);
        return {};
    }
    Image img;
    if (!DecodeBmp(f->data.data(), f->data.size(), img) || img.Empty()) {
        error(where, file + " is not a readable BMP image");
        return {};
    }
    if (frames > 0) {
        int length = stacked ? img.Height() : img.Width();
        if (length % frames != 0)
            error(where, file + ": " + (stacked ? "height " : "width ") + std::to_string(length) +
                             " does not divide into " + std::to_string(frames) + " frames");
    } else if (frames == 0) {
        error(where, "frame count 0: the strip cannot be cut into frames");
    }
    return img;
}

void Checker::fixedFrames(const std::string& section, int frames) {
    std::string value = ini_.ReadString(section, "Frame", "");
    if (value.empty()) return;
    int32_t n = ini_.ReadInteger(section, "Frame", -1);
    if (n != frames)
        error("[" + section + "] Frame", "says " + value + " but this element always has " + std::to_string(frames) +
                                             " frames");
}

void Checker::checkImages() {
    // Frame borders, caption text plate and the menu band.
    if (hasSection("Personality")) {
        for (const char* x : {"Left", "Right", "Top", "Bottom"}) {
            std::string side = x;
            int frames = ini_.ReadInteger("Personality", side + "Frame", 1);
            if (frames <= 0) {
                error("[Personality] " + side + "Frame", "must be at least 1 (the frame divides the image by it)");
                frames = -1;
            }
            bool stacked = side == "Top" || side == "Bottom";
            image("Personality", side, frames, stacked);
        }
        image("Personality", "TextBack", 1, false);
        image("Personality", "menuBar", 2, true);
    }
    // Caption buttons.
    std::vector<std::string> sections;
    ini_.ReadSections(sections);
    for (const std::string& s : sections) {
        if (!IsCaptionButtonSection(s)) continue;
        int action = ini_.ReadInteger(s, "Action", 0);
        int frames = ini_.ReadInteger(s, "frame", 0);
        if (frames == 0) {
            if (action == 3 || action == 11) {
                image(s, "ButtonImage", -1, false);  // replaced by the window icon
                continue;
            }
            Image probe = image(s, "ButtonImage", -1, false);
            if (probe.Empty()) continue;
            frames = action < 0 ? 6 : (double(probe.Width()) / probe.Height() <= 3.8 ? 3 : 6);
            if (probe.Width() % frames != 0)
                error("[" + s + "] ButtonImage", "width " + std::to_string(probe.Width()) + " does not divide into the " +
                                                     std::to_string(frames) + " frames derived from its proportions");
            continue;
        }
        image(s, "ButtonImage", frames, false);
    }
    if (hasSection("MDICONTROLS")) image("MDICONTROLS", "Image", 12, false);

    if (hasSection("Buttons")) {
        image("Buttons", "Bitmap", 5, false);
        for (const auto& [key, frameKey] : {std::pair{"CheckButton", "CheckButtonFrame"}, {"RadioButton", "RadioButtonFrame"}}) {
            int frames = ini_.ReadInteger("Buttons", frameKey, 0);
            if (frames > 0) {
                image("Buttons", key, frames, false);
            } else {
                Image probe = image("Buttons", key, -1, false);
                if (probe.Empty()) continue;
                frames = std::max(probe.Width() / (probe.Height() < 16 ? 13 : 16), 4);
                if (probe.Width() % frames != 0)
                    error(std::string("[Buttons] ") + key, "width " + std::to_string(probe.Width()) +
                                                               " does not divide into the " + std::to_string(frames) +
                                                               " frames derived from its size; set " + frameKey);
            }
        }
    }

    for (const SkinElementSpec& e : SkinElementSpecs()) {
        if (e.Id == SkinElement::MenuBar) continue;  // [Personality] above
        std::string sec(e.Section);
        if (!hasSection(sec)) continue;
        int frames = 1;
        switch (e.FrameRule) {
        case SkinFrameRule::Fixed:
            frames = e.Frames;
            fixedFrames(sec, frames);
            break;
        case SkinFrameRule::FromFrameKey: frames = ini_.ReadInteger(sec, "Frame", 0); break;
        case SkinFrameRule::FrameKeyOr5:
            frames = ini_.ReadInteger(sec, "Frame", 0);
            if (frames == 0) frames = 5;
            break;
        case SkinFrameRule::FromCountKey: frames = ini_.ReadInteger(sec, "FrameCount", e.Frames); break;
        case SkinFrameRule::ProgressStyle: frames = ini_.ReadInteger(sec, "Style", 0) != 0 ? 1 : 2; break;
        default: frames = -1; break;
        }
        if (frames < 0 && e.FrameRule != SkinFrameRule::None) {
            error("[" + sec + "]", "negative frame count " + std::to_string(frames));
            frames = -1;
        }
        image(sec, std::string(e.ImageKey), frames, false);
        if (e.SecondImageKey == "Border") image(sec, "Border", 1, false);
        if (e.SecondImageKey == "GlyphImage") image(sec, "GlyphImage", e.Frames, false);
    }
}

void Checker::checkModel() {
    TSkinModel model;
    FilesSource files(skin_);
    TQuickIniSettings settings(ini_);
    TSkinEnvironment env;
    try {
        model.Build(files, settings, env);
    } catch (const std::exception& e) {
        error("", std::string("the skin model does not build: ") + e.what());
        return;
    }
    r_.modelElementsTotal = kSkinElementCount;
    for (int i = 0; i < kSkinElementCount; ++i) {
        auto id = SkinElement(i);
        const TDataSkinObject* el = model.Element(id);
        std::string name;
        if (const SkinElementSpec* spec = FindSkinElementSpec(id))
            name = spec->Id == SkinElement::MenuBar ? "[Personality] menuBar" : "[" + std::string(spec->Section) + "]";
        else
            name = id == SkinElement::ComboArrow ? "combo arrow" : "tool bar gradient";
        if (!el) {
            warn(name, "element absent: its controls keep their own look");
        } else if (el->Bitmap.Empty()) {
            warn(name, "element present but its image is empty");
        } else {
            ++r_.modelElements;
        }
    }
    const std::pair<const char*, const TDataSkinObject*> always[] = {
        {"[Buttons] Bitmap", model.Buttons.get()},    {"[Personality] Left", model.FrameLeft.get()},
        {"[Personality] Right", model.FrameRight.get()}, {"[Personality] Top", model.FrameTop.get()},
        {"[Personality] Bottom", model.FrameBottom.get()}};
    for (const auto& [where, el] : always)
        if (!el || el->Bitmap.Empty()) warn(where, "no image: this part is not skinned");
    if (model.Buttons && model.Buttons->CheckBitmap.Empty()) warn("[Buttons] CheckButton", "no check-box image");
    if (model.Buttons && model.Buttons->RadioBitmap.Empty()) warn("[Buttons] RadioButton", "no radio-button image");
    if (model.SysButtons.size() <= 3) warn("[Button...]", "no caption buttons");
}

} // namespace

int CheckReport::errors() const {
    int n = 0;
    for (const Finding& f : findings) n += f.level == Finding::Error;
    return n;
}

int CheckReport::warnings() const {
    int n = 0;
    for (const Finding& f : findings) n += f.level == Finding::Warning;
    return n;
}

CheckReport CheckSkin(const SkinFiles& skin) {
    CheckReport report;
    Checker(skin, report).run();
    return report;
}

} // namespace skintool
