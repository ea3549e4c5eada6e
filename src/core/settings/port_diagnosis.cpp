#include "settings/port_diagnosis.h"

#include <QFileInfo>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace tamble {

namespace {

QString ModeText(QFile::Permissions p)
{
    const std::pair<QFile::Permission, char> bits[] = {
        {QFile::ReadOwner, 'r'}, {QFile::WriteOwner, 'w'}, {QFile::ExeOwner, 'x'},
        {QFile::ReadGroup, 'r'}, {QFile::WriteGroup, 'w'}, {QFile::ExeGroup, 'x'},
        {QFile::ReadOther, 'r'}, {QFile::WriteOther, 'w'}, {QFile::ExeOther, 'x'}};
    QString text;
    for (const auto& [bit, letter] : bits)
        text += p.testFlag(bit) ? QLatin1Char(letter) : QLatin1Char('-');
    return text;
}

bool ProcessHoldsGroup(gid_t gid)
{
    if (getegid() == gid)
        return true;
    const int count = getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int got = getgroups(count, groups.data());
    for (int i = 0; i < got; ++i) {
        if (groups[std::size_t(i)] == gid)
            return true;
    }
    return false;
}

bool UserListedInGroup(gid_t gid)
{
    const passwd* user = getpwuid(geteuid());
    if (!user)
        return false;
    if (user->pw_gid == gid)
        return true;
    const QByteArray name(user->pw_name);
    const group* g = getgrgid(gid);
    if (!g || !g->gr_mem)
        return false;
    for (char** member = g->gr_mem; *member; ++member) {
        if (name == *member)
            return true;
    }
    return false;
}

bool MayReadWrite(const PortAccessFacts& f)
{
    if (f.superUser)
        return true;
    if (f.isOwner)
        return f.ownerReadWrite;
    if (f.inGroup)
        return f.groupReadWrite;
    return f.otherReadWrite;
}

} // namespace

PortAccessFacts GatherPortFacts(const QString& devicePath)
{
    PortAccessFacts f;
    const QFileInfo info(devicePath);
    f.exists = info.exists();
    if (!f.exists) {
        f.staleLink = info.isSymLink();
        if (f.staleLink)
            f.linkTarget = info.symLinkTarget();
        return f;
    }
    f.isDir = info.isDir();
    f.owner = info.owner();
    f.group = info.group();
    if (f.owner.isEmpty())
        f.owner = QString::number(info.ownerId());
    if (f.group.isEmpty())
        f.group = QString::number(info.groupId());
    const QFile::Permissions p = info.permissions();
    f.mode = ModeText(p);
    f.ownerReadWrite = p.testFlag(QFile::ReadOwner) && p.testFlag(QFile::WriteOwner);
    f.groupReadWrite = p.testFlag(QFile::ReadGroup) && p.testFlag(QFile::WriteGroup);
    f.otherReadWrite = p.testFlag(QFile::ReadOther) && p.testFlag(QFile::WriteOther);
    f.superUser = geteuid() == 0;
    f.isOwner = info.ownerId() == geteuid();
    f.inGroup = ProcessHoldsGroup(info.groupId());
    f.listedInGroup = f.inGroup || UserListedInGroup(info.groupId());
    return f;
}

QString DiagnosisText(const QString& devicePath, const PortAccessFacts& f)
{
    const QString dev = devicePath;
    if (dev.isEmpty())
        return QStringLiteral("No device is set for this port.");
    if (f.staleLink)
        return QStringLiteral("%1 points to %2, which does not exist: the adapter is unplugged or "
                              "was renamed. Plug it in, or map the port to another device in "
                              "Settings.").arg(dev, f.linkTarget);
    if (!f.exists)
        return QStringLiteral("The device %1 does not exist. Check the cable or adapter, or map "
                              "the port to another device in Settings.").arg(dev);
    if (f.isDir)
        return QStringLiteral("%1 is a folder, not a serial device. Map the port to a serial "
                              "device in Settings.").arg(dev);
    if (MayReadWrite(f))
        return QStringLiteral("%1 is present and you may open it, so another program (a terminal, "
                              "a modem manager or another copy of this program) is probably "
                              "using it. Close that program and try again.").arg(dev);
    if (f.isOwner)
        return QStringLiteral("You own %1, but its mode (%2) does not let you read and write it. "
                              "Allow it with: chmod u+rw %1").arg(dev, f.mode);
    if (f.groupReadWrite && !f.inGroup && f.listedInGroup)
        return QStringLiteral("You may not open %1 yet: you were added to the group \"%2\" that "
                              "owns it, but this login started before that. Log out and log in "
                              "again.").arg(dev, f.group);
    if (f.groupReadWrite && !f.inGroup)
        return QStringLiteral("You may not open %1: it belongs to the group \"%2\" (mode %3) and "
                              "you are not a member of that group. Add yourself with: sudo usermod "
                              "-aG %2 $USER, then log out and log in again.").arg(dev, f.group, f.mode);
    return QStringLiteral("You may not open %1: its mode (%2, owner \"%3\", group \"%4\") lets "
                          "only its owner read and write it. Ask the administrator to give the "
                          "group \"%4\" access to it (for example with a udev rule), then join "
                          "that group.").arg(dev, f.mode, f.owner, f.group);
}

QString PortOpenDiagnosis(const QString& devicePath)
{
    return DiagnosisText(devicePath, GatherPortFacts(devicePath));
}

} // namespace tamble
