#pragma once

#include "core/Core_RefPtr.h"

#include <string>
#include <vector>

namespace Tundra {
class Level;
}

// The driver's line protocol. Each command line is "TAG VERB ARGUMENTS";
// its answer is one line "TAG ok RESULTS" or "TAG error MESSAGE", written
// between two frames:
//   TAG lua CHUNK        runs the chunk on the game's interpreter; RESULTS
//                        are its results joined by '|'
//   TAG state            the summary below
//   TAG key CODE 0|1     lets go of or holds the key of that virtual-key code
//   TAG quit             ends the game and the driver
// Besides, unasked: "event KIND ...", "level INDEX TYPENAME",
// "template level=INDEX ok|error RESULT" and "sessions LIST" whenever the
// found sessions change.
namespace netdriver {

class DriverGame;

// Lines of standard input as they arrive, never waiting.
class CommandReader {
public:
    CommandReader();
    // The complete lines that arrived since the last call.
    std::vector<std::string> Take();
    // The test closed its end (or went away).
    bool AtEnd() const { return m_atEnd; }

private:
    std::string m_pending;
    bool m_atEnd = false;
};

// False for "quit".
bool RunCommand(DriverGame& game, const std::string& line);

// "level=I net=0|1 server=0|1 local=ID port=P players=ID:NAME:HOST,...
// groups=N objects=N colliders=N bodies=N dots=OWNER.ID@LAYER:X,Y;...
// copies=N" - objects, colliders and bodies count the level's objects
// without a network identity, dots are those with one, copies the front
// end's replicated objects; port is the local player's.
std::string StateSummary(DriverGame& game);

// Prints "sessions LIST" when the found sessions differ from the last ones
// printed.
void ReportSessions(std::string& lastPrinted);

// Prints "level INDEX TYPENAME" when the game runs another level than the
// one last printed (held, so that no later level can take its address).
void ReportLevel(const DriverGame& game, Core::RefPtr<Tundra::Level>& lastPrinted);

}  // namespace netdriver
