#include "support/FakePlatform.h"

#include "app/mdShell.h"
#include "bomb/mdBomb.h"
#include "settings/Settings.h"

std::optional<QByteArray> FakePlatform::readProfileFile()
{
    if (unreadable)
        return std::nullopt;
    return file;
}

bool FakePlatform::replaceProfileFile(const QByteArray& bytes)
{
    if (writesFail)
        return false;
    file = bytes;
    writes.append(bytes);
    log << QStringLiteral("write");
    return true;
}

void FakePlatform::beep()
{
    ++beeps;
    log << QStringLiteral("beep");
}

void FakePlatform::requestExit(ExitKind kind)
{
    exits.push_back(kind);
    log << QStringLiteral("exit:%1").arg(static_cast<int>(kind));
}

void FakePlatform::purgeRecentDocuments()
{
    ++purges;
    log << QStringLiteral("purge");
}

void FakePlatform::messageBox(const QString& text, const QString& caption, MessageIcon icon)
{
    messages.push_back({text, caption, icon});
    log << QStringLiteral("message");
    if (onMessage)
        onMessage();
}

void FakePlatform::setTopmost(QWidget* window, bool on)
{
    topmost.push_back({window, on});
}

void FakePlatform::endProcess()
{
    ++ends;
    log << QStringLiteral("end");
}

FakeEnvironment::FakeEnvironment()
{
    setPlatform(&fake);
    mdBomb::ResetSettings();
    mdBomb::ResetDetonation();
    mdShell::ResetPosition();
}

FakeEnvironment::~FakeEnvironment()
{
    setPlatform(nullptr);
}
