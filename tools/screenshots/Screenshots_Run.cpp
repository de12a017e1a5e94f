#include "Screenshots_Run.h"

#include "Screenshots_Capture.h"
#include "core/Core_Clock.h"
#include "core/Core_MersenneTwister.h"
#include "core/Core_Random.h"
#include "core/Core_TrackedMemory.h"
#include "engine/Engine_EngineRun.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_CreateGame.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "os/OS_Error.h"
#include "os/OS_ImageWrite.h"
#include "support/MyGame_HudClick.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace screenshots {
namespace {

constexpr double kFrameMilliseconds = 1000.0 / 60.0;
// The tests' seed.
constexpr std::uint32_t kSeed = 5489;
// Far beyond any route: a journey that neither ends nor fails by then is stuck.
constexpr std::int64_t kFrameLimit = 60 * 60 * 20;

// The scripted clock: frames advance it by exact multiples of a frame.
double g_now = 0.0;
double ScriptedClock() { return g_now; }

struct RouteRequest {
    Route route;
    std::vector<const Moment*> pending;
    std::string folder;
    RouteResult* result;
};
// The request of the run in progress: the engine's creation function takes
// no arguments of its own.
RouteRequest* g_request = nullptr;

// The game, run by the engine's loop, with the journey's input before each
// frame and its look after it; the pictures are read after the frame is
// drawn and before it is presented.
class CaptureRun : public Engine::Application {
public:
    CaptureRun(Core::RefPtr<MyGame> game, RouteRequest& request)
        : m_game(std::move(game)),
          m_request(request),
          m_skipIntro(std::none_of(request.pending.begin(), request.pending.end(), [](const Moment* moment) {
              return moment->step == mygametest::JourneyStep::kIntro;
          })),
          m_journey(PlanFor(request.route), [this](const mygametest::JourneyMoment& now) { Observe(now); }) {}

    void BeginFrame() override {
        ++m_frames;
        g_now = static_cast<double>(m_frames) * kFrameMilliseconds;
        if (m_settling == nullptr) {
            m_journey.BeforeFrame(*m_game);
        }
        // The input just set reaches this frame's poll through the window's
        // events, taken again after the loop's own pump.
        mygametest::PumpOffscreenInput();
        m_game->BeginFrame();
    }

    void Frame() override {
        m_game->Frame();
        if (m_settling == nullptr) {
            m_journey.AfterFrame(*m_game);
        } else if (--m_settleFramesLeft <= 0) {
            TakeSettled();
        }
    }

    void EndFrame() override {
        m_game->EndFrame();
        // The first frame has built the intro; the title level follows as
        // after a click.
        if (m_skipIntro && m_frames == 1) {
            m_game->ChangeLevel(MyLevelFactory::kMenuLevel);
        }
        if (m_journey.IsOver() || m_frames >= kFrameLimit) {
            Finish();
            m_game->Exit();
        }
    }

    void Shutdown() override { m_game->Shutdown(); }

private:
    void Observe(const mygametest::JourneyMoment& now) {
        auto& pending = m_request.pending;
        const auto due = std::find_if(pending.begin(), pending.end(),
                                      [&now](const Moment* moment) { return moment->IsReachedAt(now); });
        if (due == pending.end()) {
            return;
        }
        const Moment& moment = **due;
        pending.erase(due);
        if (moment.settleFrames > 0) {
            m_settling = &moment;
            m_settleFramesLeft = moment.settleFrames;
            return;
        }
        Take(moment);
        StopWhenDone();
    }

    void TakeSettled() {
        const Moment& moment = *m_settling;
        m_settling = nullptr;
        Take(moment);
        StopWhenDone();
    }

    void StopWhenDone() {
        if (m_request.pending.empty() || !m_request.result->failure.empty()) {
            m_journey.Stop();
        }
    }

    void Take(const Moment& moment) {
        const std::string path = m_request.folder + "/" + std::string(moment.name) + ".png";
        os::Image picture;
        if (!ReadFrame(*m_game->GetRenderer(), picture)) {
            m_request.result->failure = "no picture of the display for " + path;
        } else if (!os::WritePngFile(path, picture)) {
            m_request.result->failure = os::ErrorText(os::GetLastError());
        } else {
            m_request.result->written.push_back(path);
        }
    }

    // What kept the moments still pending from being taken.
    void Finish() {
        RouteResult& result = *m_request.result;
        if (!result.failure.empty() || m_request.pending.empty()) {
            return;
        }
        std::string missed;
        for (const Moment* moment : m_request.pending) {
            missed += (missed.empty() ? "" : ", ") + std::string(moment->name);
        }
        const std::string why = !m_journey.GetFailure().empty() ? m_journey.GetFailure()
                                : m_frames >= kFrameLimit   ? "the frame limit was reached"
                                                            : "the journey ended before them";
        result.failure = "not taken: " + missed + " (" + why + ")";
    }

    Core::RefPtr<MyGame> m_game;
    RouteRequest& m_request;
    bool m_skipIntro;
    mygametest::Journey m_journey;
    std::int64_t m_frames = 0;
    // The moment whose picture waits for its scene to settle; null when none.
    const Moment* m_settling = nullptr;
    std::int64_t m_settleFramesLeft = 0;
};

void CreateCaptureRun(Core::RefPtr<Engine::Application>& application, const Core::String&) {
    Core::SetClockFunction(&ScriptedClock);
    g_now = 0.0;
    const Core::RefPtr<MyGame> game = MakeGame(MakeGameContent());
    if (!game) {
        return;
    }
    // The frames follow one another as fast as they are drawn.
    game->LockFrameRate(false);
    Core::GameRandomGenerator().Seed(kSeed);
    SeedRandom(kSeed);
    application = TUN_NEW(CaptureRun, game, *g_request);
}

}  // namespace

RouteResult PlayRoute(Route route, const std::vector<const Moment*>& moments, const std::string& folder) {
    RouteResult result;
    RouteRequest request{route, moments, folder, &result};
    g_request = &request;
    if (EngineRun("", &CreateCaptureRun) != 0 && result.failure.empty()) {
        result.failure = "the game could not be made";
    }
    g_request = nullptr;
    return result;
}

}  // namespace screenshots
