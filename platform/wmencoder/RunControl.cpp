#include "RunControl.h"

#include "platform/source/MediaSource.h"

extern "C" {
#include <libavutil/error.h>
}

namespace platform::wmenc {

void RunControl::RequestStop()
{
    {
        std::lock_guard lock(m_stopMutex);
        m_stop = true;
    }
    m_stopSignal.notify_all();
}

void RunControl::WaitForStop()
{
    std::unique_lock lock(m_stopMutex);
    m_stopSignal.wait(lock, [&] { return m_stop.load(); });
}

void RunControl::Fail(HRESULT code, std::string text)
{
    {
        std::lock_guard lock(m_errorMutex);
        if (m_error == S_OK) {
            m_error = code;
            m_errorText = std::move(text);
        }
    }
    RequestStop();
    decoded.Abort();
    filtered.Abort();
}

bool RunControl::Failed() const
{
    std::lock_guard lock(m_errorMutex);
    return FAILED(m_error);
}

HRESULT RunControl::Error() const
{
    std::lock_guard lock(m_errorMutex);
    return m_error;
}

std::string RunControl::ErrorText() const
{
    std::lock_guard lock(m_errorMutex);
    return m_errorText;
}

std::string AvError(int code)
{
    return AvErrorText(code);
}

}  // namespace platform::wmenc
