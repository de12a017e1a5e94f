#include "AssetGen_Driver.h"

#include <cairo.h>
#include <sched.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

#include "AssetGen_ContactSheet.h"
#include "AssetGen_Files.h"
#include "AssetGen_Lettering.h"
#include "AssetGen_OggVorbisWriter.h"
#include "AssetGen_Png.h"
#include "AssetGen_SheetImage.h"
#include "AssetGen_SoundAssets.h"

namespace AssetGen {
namespace fs = std::filesystem;
namespace {

struct Job {
    const ManifestRow* row;
    double cost;  // a rough size, to start the longest jobs first
};

const FileArt* FindFileArt(std::string_view path) {
    for (auto list : {ResourceFiles(), GuiFiles()}) {
        for (const FileArt& art : list) {
            if (art.file == path) {
                return &art;
            }
        }
    }
    return nullptr;
}

bool WriteSheet(const ManifestRow& row, const std::string& path, std::string& error) {
    cairo_surface_t* surface = RenderSheet(row);
    const bool written = WritePng(surface, path, error);
    cairo_surface_destroy(surface);
    return written;
}

class FileMaker {
public:
    FileMaker() : sounds_(SoundAssets()) {}

    // Writes the row's file at `path`. False, with the reason, on failure or
    // when nothing makes that file: the tree would miss it.
    bool Make(const ManifestRow& row, const std::string& path, std::string& error) const {
        if (row.kind == FileKind::Sheet) {
            return WriteSheet(row, path, error);
        }
        if (row.kind == FileKind::Sound) {
            const std::string_view name = std::string_view(row.path).substr(row.path.rfind('/') + 1);
            for (const SoundAsset& sound : sounds_) {
                if (sound.fileName == name) {
                    return WriteOggVorbis(sound.render(), sound.quality, path, error);
                }
            }
        } else if (const FileArt* art = FindFileArt(row.path)) {
            return art->write(path, SeedOfPath(row.path), error);
        }
        error = "nothing makes " + row.path;
        return false;
    }

private:
    std::vector<SoundAsset> sounds_;
};

double CostOf(const ManifestRow& row) {
    switch (row.kind) {
        case FileKind::Sound: return 1e9;  // seconds of synthesis and encoding each
        case FileKind::Sheet: return static_cast<double>(row.grid.ImageWidth()) * row.grid.ImageHeight();
        default: return 0.0;
    }
}

bool Selected(const ManifestRow& row, const std::vector<std::string>& only) {
    return only.empty() || std::any_of(only.begin(), only.end(),
                                       [&](const std::string& part) { return row.path.find(part) != std::string::npos; });
}

bool MoveIntoPlace(const fs::path& made, const fs::path& target, bool wholeTree, std::string& error) {
    std::error_code code;
    if (wholeTree) {
        const fs::path old = target.string() + ".old";
        fs::remove_all(old, code);
        if (fs::exists(target)) {
            fs::rename(target, old, code);
        }
        if (!code) {
            fs::rename(made, target, code);
        }
        if (!code) {
            fs::remove_all(old, code);
        }
    } else {
        for (const auto& entry : fs::recursive_directory_iterator(made)) {
            if (code || !entry.is_regular_file()) {
                continue;
            }
            const fs::path destination = target / fs::relative(entry.path(), made);
            fs::create_directories(destination.parent_path(), code);
            if (!code) {
                fs::rename(entry.path(), destination, code);
            }
        }
        if (!code) {
            fs::remove_all(made, code);
        }
    }
    if (code) {
        error = "cannot move the made files to " + target.string() + ": " + code.message();
        return false;
    }
    return true;
}

// The processors this process may run on (taskset narrows them).
int ProcessorCount() {
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof(set), &set) == 0) {
        return std::max(1, CPU_COUNT(&set));
    }
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

}  // namespace

int RunDriver(const DriverOptions& options) {
    SetFontDirectory(options.fontDirectory);
    for (DejaVu face : {DejaVu::Sans, DejaVu::SansBold, DejaVu::SansMono, DejaVu::SansMonoBold}) {
        if (FontFace(face) == nullptr) {
            std::fprintf(stderr, "assetgen: cannot load %s\n", FontFile(face).c_str());
            return 1;
        }
    }

    const fs::path target = fs::path(options.resources).lexically_normal();
    const fs::path staging = target.string() + ".partial";
    std::error_code code;
    fs::remove_all(staging, code);

    std::vector<Job> jobs;
    for (const ManifestRow& row : Manifest()) {
        if (Selected(row, options.only)) {
            jobs.push_back({&row, CostOf(row)});
            fs::create_directories((staging / row.path).parent_path(), code);
        }
    }
    if (code) {
        std::fprintf(stderr, "assetgen: cannot create %s: %s\n", staging.c_str(), code.message().c_str());
        return 1;
    }
    if (jobs.empty()) {
        std::fprintf(stderr, "assetgen: no file matches the filter\n");
        return 2;
    }
    std::stable_sort(jobs.begin(), jobs.end(), [](const Job& a, const Job& b) { return a.cost > b.cost; });

    const FileMaker maker;
    std::atomic<std::size_t> next{0};
    std::mutex reportMutex;
    std::vector<std::string> errors;
    std::map<FileKind, double> secondsPerKind;
    auto work = [&] {
        for (std::size_t i = next++; i < jobs.size(); i = next++) {
            const ManifestRow& row = *jobs[i].row;
            std::string error;
            const auto start = std::chrono::steady_clock::now();
            const bool made = maker.Make(row, (staging / row.path).string(), error);
            const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
            const std::lock_guard lock(reportMutex);
            secondsPerKind[row.kind] += spent.count();
            if (!made) {
                errors.push_back(error);
            }
        }
    };

    const auto start = std::chrono::steady_clock::now();
    const int threadCount = options.threads > 0 ? options.threads : ProcessorCount();
    std::vector<std::thread> threads;
    for (int i = 1; i < std::min<int>(threadCount, static_cast<int>(jobs.size())); ++i) {
        threads.emplace_back(work);
    }
    work();
    for (std::thread& thread : threads) {
        thread.join();
    }

    if (!errors.empty()) {
        std::sort(errors.begin(), errors.end());
        for (const std::string& error : errors) {
            std::fprintf(stderr, "assetgen: %s\n", error.c_str());
        }
        fs::remove_all(staging, code);
        return 1;
    }
    std::string error;
    if (!MoveIntoPlace(staging, target, options.only.empty(), error)) {
        std::fprintf(stderr, "assetgen: %s\n", error.c_str());
        return 1;
    }
    if (!options.contactSheet.empty() && !WriteContactSheet(target.string(), options.contactSheet, error)) {
        std::fprintf(stderr, "assetgen: %s\n", error.c_str());
        return 1;
    }
    const std::chrono::duration<double> total = std::chrono::steady_clock::now() - start;
    if (options.timings) {
        for (const auto& [kind, seconds] : secondsPerKind) {
            std::printf("%-18s %7.2f s of work\n", std::string(KindName(kind)).c_str(), seconds);
        }
        std::printf("%-18s %7.2f s on %d threads\n", "total", total.count(), threadCount);
    }
    return 0;
}

}  // namespace AssetGen
