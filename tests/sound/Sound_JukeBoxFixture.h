#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_Startup.h"
#include "os/OS_Path.h"
#include "pal/PAL_ExecutablePath.h"
#include "sound/Sound_JukeBox.h"
#include "sound/Sound_JukeBoxTestHooks.h"
#include "sound/Sound_SoundEngine.h"
#include "support/Sound_TestEngine.h"
#include "support/Sound_TestFiles.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// Jukebox tests: an initialised engine that every jukebox uses, in a game
// folder of its own whose "\Resources\Sounds\" holds the tracks they write.
namespace soundtest {

class JukeBoxTest : public testing::Test {
protected:
    void SetUp() override {
        CoreStartup(m_core);
        m_realTime.emplace();
        os::SetExecutablePathForTesting(m_directory.Path() + "/Emberline");
        m_engine = std::make_unique<SoundEngine>();
        ASSERT_TRUE(m_engine->Initialize(-1, 10));
        Tundra::SetJukeBoxEngineForTesting(m_engine.get());
    }

    void TearDown() override {
        Tundra::SetJukeBoxEngineForTesting(nullptr);
        m_engine.reset();
        m_realTime.reset();
        os::SetExecutablePathForTesting("");
        CoreShutdown(m_core);
    }

    // A mono sine track under "\Resources\Sounds\", by its engine path.
    Core::String Tone(const std::string& name, double seconds, double hertz) const {
        const testsupport::WavFormatFields format{.sampleRate =
                                                      static_cast<std::uint32_t>(testsupport::kWaveWriterRate)};
        m_directory.WriteFile("Resources/Sounds/" + name,
                              testsupport::PcmWav(format, testsupport::SampleBytes(testsupport::SineTone(
                                                              hertz, seconds, 1, testsupport::kWaveWriterRate))));
        return GetExecutableDirectory() + Core::String("\\Resources\\Sounds\\" + name);
    }

    Core::RefPtr<Tundra::JukeBox> MakeJukeBox(const std::vector<Core::String>& paths) const {
        return TUN_NEW(Tundra::JukeBox, paths);
    }

    // Updates with the real time since the last update until done() holds
    // or the seconds run out; whether done() came to hold.
    static bool UpdateUntil(Tundra::JukeBox& jukebox, double seconds, const std::function<bool()>& done) {
        using Clock = std::chrono::steady_clock;
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        Clock::time_point last = Clock::now();
        while (!done()) {
            if (Clock::now() > end) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            const Clock::time_point now = Clock::now();
            jukebox.Update(std::chrono::duration<float>(now - last).count());
            last = now;
        }
        return true;
    }

    SoundEngine& Engine() { return *m_engine; }

    std::uint8_t m_core = 0;
    // The streaming thread sleeps on the Core clock.
    std::optional<testsupport::MovingClock> m_realTime;
    testsupport::TempDirectory m_directory;
    std::unique_ptr<SoundEngine> m_engine;
};

}  // namespace soundtest
