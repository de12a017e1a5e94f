#pragma once

#include <string>
#include <vector>

// Makes the files of the manifest, spread over threads. Every file depends
// only on its own row and seed, so the bytes are the same whatever the
// thread count. The files are made in a temporary sibling of the Resources
// directory and moved into place only once all of them exist, so an
// interrupted run leaves the previous tree or none, never half of one.
namespace AssetGen {

struct DriverOptions {
    std::string resources;            // the Resources directory to fill
    std::string fontDirectory;        // where the DejaVu files are
    std::vector<std::string> only;    // make only the rows whose path contains one of these; empty: all
    int threads = 0;                  // 0: one per processor
    std::string contactSheet;         // where to write the contact sheet; empty: none
    bool timings = false;             // print the time spent per kind of file
};

// Zero on success; otherwise the failures were printed to stderr.
int RunDriver(const DriverOptions& options);

}  // namespace AssetGen
