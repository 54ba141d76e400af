#include "CxRunSetup.h"

#include <cstdio>
#include <cstdlib>

int CxScreenCode(int screenType)
{
    return screenType >= 1 && screenType <= 3 ? CxWMEncoder::kScreenStandard + screenType - 1 : 0;
}

CxFailure CxReadFailure(CxWMEncoder& encoder)
{
    CxFailure failure;
    char text[1024] = "";
    encoder.GetErrorText(text, sizeof text);
    failure.text = text;
    failure.code = encoder.GetErrorState();
    if (platform::SUCCEEDED(failure.code))
        failure.code = encoder.GetLastResult();
    return failure;
}

std::string CxFailureLine(const CxFailure& failure, const char* what)
{
    if (!failure.text.empty())
        return failure.text;
    char line[512];
    std::snprintf(line, sizeof line, "%s (error 0x%08X)", what, unsigned(failure.code));
    return line;
}

const char* CxStepText(CxRunStep step)
{
    switch (step) {
    case CxRunStep::Create: return "The encoder cannot be created.";
    case CxRunStep::LoadProfiles: return "The encoder's profiles cannot be loaded.";
    case CxRunStep::AddGroup: return "The source group cannot be made.";
    case CxRunStep::SetSource: return "The source video cannot be used.";
    case CxRunStep::SetOutput: return "The output file cannot be used.";
    case CxRunStep::LoadProfile: return "The output profile cannot be loaded.";
    case CxRunStep::SetCropping: return "The cropping margins cannot be used.";
    case CxRunStep::SetLimits: return "The output restriction cannot be used.";
    case CxRunStep::Prepare: return "The conversion cannot be prepared.";
    case CxRunStep::Start: return "The conversion cannot be started.";
    case CxRunStep::Done: break;
    }
    return "";
}

CxRunSetup CxSetUpRun(const CxRunJob& job, const std::function<void(CxRunStep)>& before)
{
    CxRunSetup setup;
    auto encoder = std::make_unique<CxWMEncoder>();
    CxWMEncGroup* group = nullptr;
    const auto call = [&](CxRunStep step, const std::function<bool()>& make) {
        if (before)
            before(step);
        setup.step = step;
        return make();
    };
    const bool ok =
        call(CxRunStep::Create, [&] { return encoder->IsInitialized(); }) &&
        call(CxRunStep::LoadProfiles, [&] { return encoder->LoadSystemProfiles(); }) &&
        call(CxRunStep::AddGroup,
             [&] {
                 // The wrapper owns the zero-filled record once it took it.
                 group = static_cast<CxWMEncGroup*>(std::calloc(1, sizeof(CxWMEncGroup)));
                 if (group && encoder->AddSourceGroup(group))
                     return true;
                 std::free(group);
                 return false;
             }) &&
        call(CxRunStep::SetSource,
             [&] { return encoder->SetupSourceGroup(group, job.source.c_str(), job.source.c_str()); }) &&
        call(CxRunStep::SetOutput, [&] { return encoder->SetOutputFile(job.output.c_str()); }) &&
        call(CxRunStep::LoadProfile,
             [&] {
                 const int screen = CxScreenCode(job.screenType);
                 return !screen || encoder->LoadOutputProfile(group, screen, job.quality);
             }) &&
        call(CxRunStep::SetCropping,
             [&] { return encoder->SetCropping(group, job.cropLeft, job.cropTop, job.cropRight, job.cropBottom); }) &&
        call(CxRunStep::SetLimits,
             [&] { return encoder->SetOutputLimits(job.maxBytes, job.maxMilliseconds); }) &&
        call(CxRunStep::Prepare, [&] { return encoder->Prepare(true); }) &&
        call(CxRunStep::Start, [&] { return encoder->Start(); });
    if (!ok) {
        setup.failure = CxReadFailure(*encoder);
        encoder->Stop();  // whatever was prepared is let go, the temporary file with it
        return setup;
    }
    setup.step = CxRunStep::Done;
    setup.encoder = std::move(encoder);
    return setup;
}
