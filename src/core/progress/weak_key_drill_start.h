#pragma once
// "苦手キーの練習" from the lesson menu: the drill's questions run as a custom lesson of the
// current practice mode, recorded in the history under the drill's name.
#include <optional>
#include <vector>

#include "progress/key_speed.h"

namespace kibiki {

class CKibikiDoc;
class CKibikiView;
class PracticeLog;

// Chooses the questions and starts the run: by the practice log's per-key figures where it has
// them for the mode (pLog may be null), else by the history's missed keys. While neither names
// a key of the mode that a built-in question practises, says so and starts nothing.
// The user's own mode unless one is given (the progress window's chooser).
bool StartWeakKeyDrill(CKibikiView& view, CKibikiDoc& doc, PracticeLog* pLog = nullptr,
                       std::optional<PracticeMode> mode = std::nullopt);

// A drill of the given key pairs (the slowest transitions) in the user's mode.
bool StartPairDrill(CKibikiView& view, CKibikiDoc& doc, const std::vector<KeyPair>& pairs,
                    std::optional<PracticeMode> mode = std::nullopt);

// The user's figures for a mode from the log; empty on any fault.
SpeedFigures ReadSpeedFigures(PracticeLog& log, PracticeMode mode);

}  // namespace kibiki
