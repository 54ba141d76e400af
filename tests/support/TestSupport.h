#pragma once
// Small fixtures shared by the tests: a scratch folder, whole-file reads and writes,
// and handler guards that put a recorder in place of a dialog or the desktop.

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <string>
#include <utility>

namespace qxtest {

// Waits until the condition holds, handling events; false after five seconds.
template <typename Condition>
bool Eventually(Condition condition)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < 5000)
        QTest::qWait(20);
    return condition();
}

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);

// True when this process can write into a folder whose write bits are all off: file
// permissions cannot then show a read-only folder (root).
bool PermissionsIgnored();

class ScratchDir {
public:
    ScratchDir();
    std::string Path(const std::string& name = {}) const;  // with a trailing '/' for the folder itself
    QStringList Entries() const;

private:
    QTemporaryDir m_dir;
};

// Installs a handler for the life of the guard and puts the previous one back.
template <typename Handler, typename Setter>
class HandlerGuard {
public:
    HandlerGuard(Setter set, Handler handler) : m_set(set), m_previous(set(std::move(handler))) {}
    ~HandlerGuard() { m_set(std::move(m_previous)); }
    HandlerGuard(const HandlerGuard&) = delete;
    HandlerGuard& operator=(const HandlerGuard&) = delete;

private:
    Setter m_set;
    Handler m_previous;
};

template <typename Handler>
auto Guard(Handler (*set)(Handler), Handler handler)
{
    return HandlerGuard<Handler, Handler (*)(Handler)>(set, std::move(handler));
}

}  // namespace qxtest
