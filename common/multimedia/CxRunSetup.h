#pragma once
// Setting up a run: the encoder wrapper's calls in the designed order, from one
// conversion, the first failing step ending it with the encoder's own reason. Used by
// the encoding page (on a thread of its own, so the window keeps drawing) and by
// qxconvert, so both convert alike.

#include "CxWMEncoder.h"

#include <functional>
#include <memory>
#include <string>

// What to convert and how, in the terms of the job the wizard fills in.
struct CxRunJob {
    std::string source;
    std::string output;
    int screenType = 1;  // 1 208 x 160, 2 320 x 200, 3 640 x 480; anything else loads no profile
    int quality = 2;     // 1 High, 2 Medium, 3 Low
    int cropLeft = 0, cropTop = 0, cropRight = 0, cropBottom = 0;  // 0 or less leaves an edge alone
    long long maxBytes = 0;         // 0: no size limit
    long long maxMilliseconds = 0;  // 0: no time limit
};

// The steps, in their order.
enum class CxRunStep {
    Create,          // the encoder's objects
    LoadProfiles,    // the encoder's installed profiles
    AddGroup,
    SetSource,
    SetOutput,
    LoadProfile,     // the program's profile for the screen and quality
    SetCropping,
    SetLimits,
    Prepare,
    Start,
    Done,
};

// The wrapper's screen code for a screen number (1 to 3), 0 for none.
int CxScreenCode(int screenType);

// What a failed step of the wrapper says: the encoder's text (may be empty) and code.
struct CxFailure {
    std::string text;
    platform::HRESULT code = 0;
};
CxFailure CxReadFailure(CxWMEncoder& encoder);
// The failure as one line: the encoder's text, else what failed with the code.
std::string CxFailureLine(const CxFailure& failure, const char* what);

struct CxRunSetup {
    std::unique_ptr<CxWMEncoder> encoder;  // running when step is Done, else null
    CxRunStep step = CxRunStep::Create;    // Done, or the step that failed
    CxFailure failure;
    bool Ok() const { return step == CxRunStep::Done; }
};

// What went wrong at a step, in the page's words ("The output file cannot be used.").
const char* CxStepText(CxRunStep step);

// Makes the calls; before tells which step comes next (on the calling thread).
CxRunSetup CxSetUpRun(const CxRunJob& job, const std::function<void(CxRunStep)>& before = {});
