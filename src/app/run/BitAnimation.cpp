#include "app/run/BitAnimation.h"

#include "app/shell/VariablesList.h"
#include "engine/ParsedLine.h"
#include "platform/core/text/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double MaxStepPerAxis = 0.25;
constexpr double SnapDistance = 0.005;

// The argument as a number, or `keep` when it is none.
float NumberOr(const std::string& argument, float keep)
{
    double value = 0;
    return TryStrToFloat(argument, value) ? static_cast<float>(value) : keep;
}

} // namespace

bool MoveBitStep(TAffineVector& position, const TAffineVector& target, double deltaTime, double speed)
{
    double step[3];
    double largest = 0;
    for (int a = 0; a < 3; ++a) {
        step[a] = (double(target[a]) - position[a]) * deltaTime * speed;
        largest = std::max(largest, std::fabs(step[a]));
    }
    if (largest > MaxStepPerAxis) {
        for (double& s : step) {
            s *= MaxStepPerAxis / largest;
        }
    }
    bool allArrived = true;
    bool allNear = true;
    TAffineVector moved = position;
    for (int a = 0; a < 3; ++a) {
        const double p = position[a];
        const double t = target[a];
        const bool arrived = p == t || (p < t && p + step[a] >= t) || (p > t && p + step[a] <= t);
        allArrived = allArrived && arrived;
        moved[a] = static_cast<float>(p + step[a]);
        allNear = allNear && std::fabs(t - moved[a]) < SnapDistance;
    }
    if (allArrived || allNear) {
        position = target;
        return false;
    }
    position = moved;
    return true;
}

TAffineVector MarkerPosition(const TArrayofCmds& cmds, const TAffineVector& current)
{
    const std::string& word = cmds[0];
    if (word == "CA" || word == "CC" || word == "CG" || word == "CP") {
        return current;
    }
    TAffineVector p{NumberOr(cmds[1], current.X), NumberOr(cmds[2], current.Y), NumberOr(cmds[3], current.Z)};
    if (word.size() < 2) {
        return p;
    }
    switch (word[1]) {
    case '2':
        p.Z = current.Z;
        break;
    case 'X':
        p.Y = current.Y;
        p.Z = current.Z;
        break;
    case 'Y':
        p = {current.X, NumberOr(cmds[1], current.Y), current.Z};
        break;
    case 'Z':
        p = {current.X, current.Y, NumberOr(cmds[1], current.Z)};
        break;
    default:
        break;
    }
    return p;
}

QString CollisionQuestion(const QString& name)
{
    return QStringLiteral("The bit collided with ") + name +
           QStringLiteral(". Do you want to see this message next time a collision with this object occurs?") +
           QChar(13) + QStringLiteral("\"Yes\" to see it again, \"No\" to supress this warning, \"Cancel\" to quit running.");
}

QStringList VariablesListItems(const QString& text)
{
    QStringList items;
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = text.indexOf(QLatin1String("\r\n"), start);
        if (end < 0) {
            break;
        }
        const QByteArray line = text.mid(start, end - start).toUtf8();
        items << VariablesListItem(std::string_view(line.constData(), static_cast<std::size_t>(line.size())));
        start = end + 2;
    }
    return items;
}
