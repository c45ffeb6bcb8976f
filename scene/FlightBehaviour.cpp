#include "scene/FlightBehaviour.h"

#include "gfx/RandomUnit.h"
#include "scene/Ribbon.h"

#include <cmath>

namespace {
// Probability of the next state (column) after the current one (row). Row 5 is never consulted.
constexpr double kTransitionTable[6][6] = {
    {0.9, 0.1, 0.0, 0.0, 0.0, 0.0},  {0.0, 0.0, 0.0, 1.0, 0.0, 0.0}, {0.15, 0.0, 0.0, 0.75, 0.1, 0.0},
    {0.0, 0.0, 1.0, 0.0, 0.0, 0.0},  {1.0, 0.0, 0.0, 0.0, 0.0, 0.0}, {0.0, 0.0, 0.0, 0.0, 0.0, 0.0},
};

constexpr double kTurnRate = 0.006;
constexpr double kCruiseSpeed = 0.002;
constexpr double kUprightPull = 0.003;
constexpr double kArrival = 0.4;
constexpr double kLongestFlight = 3000.0;
// pi / 3000 with pi as 3.1415926: the climb or dive fades out over 1500 ms.
constexpr double kLevelFade = 0.0010471975333333334;
// 0.002 / 1500: the glide slows to a stop at 3000 ms.
constexpr double kGlideBrake = 1.3333333333333334e-06;
constexpr double kTwoPi = 6.2831852;
constexpr double kDartPace = 0.0031415926;
constexpr double kWriggleEnvelope = 0.0015707963;
constexpr double kWrigglePace = 0.006666666666666667;
constexpr double kPi = 3.1415926;

// The up axis pulled towards scene up, then made perpendicular to `direction`.
Vec3 UprightUp(const Vec3& up, const Vec3& direction, double dt)
{
    const Vec3 pulled = up + Vec3(0.0, 1.0, 0.0) * kUprightPull * dt;
    return pulled - direction * (direction.Dot(pulled) / pulled.Length());
}
} // namespace

FlightBehaviour::FlightBehaviour(Ribbon* ribbon_) : ribbon(ribbon_)
{
    ribbon->Straighten(Vec3(0.0, 2.0, 0.0), Vec3(0.0, 1.0, 0.0), Vec3(0.0, 0.0, -1.0));
    SetState(FlyToTarget);
}

void FlightBehaviour::SetState(int32_t next)
{
    stateMs = 0.0;
    if (next == -1) {
        double x = RandomUnit();
        for (int32_t i = 0; i < 6; ++i) {
            x -= kTransitionTable[state][i];
            if (x <= 0.0) {
                next = i;
                break;
            }
        }
    }
    state = next;
    Enter();
}

void FlightBehaviour::Enter()
{
    const RibbonNode& head = ribbon->nodes[0];
    switch (state) {
    case FlyToTarget: {
        const double depth = RandomUnit();
        const double a = 2.0 - 16.0 * depth;
        const double across = RandomUnit();
        const double x = (across - 0.5) * a * 0.5;
        const double high = RandomUnit();
        const double y = (high - 0.5) * a * 0.1875;
        target = Vec3(x, y, a);
        break;
    }
    case LevelOff:
        if (Vec3(head.position.x, head.position.y, 0.0).Length() > 1.0 || head.position.z > 0.0)
            SetState(FlyToTarget);
        levelHorizontal = Vec3(head.direction.x, 0.0, head.direction.z);
        levelVertical = Vec3(0.0, head.direction.y, 0.0);
        break;
    case Hover: {
        const double hold = RandomUnit();
        holdMs = 500.0 * hold;
        break;
    }
    case Dart: {
        const double turn = RandomUnit();
        const double theta = kTwoPi * turn;
        const double reach = RandomUnit();
        const double radius = (reach + 1.0) * 0.2;
        dartOffset = (head.up * std::sin(theta)) * radius + (head.side * std::cos(theta)) * radius;
        dartStart = head.position;
        break;
    }
    case Wriggle:
        wriggleDirection = head.direction;
        wriggleStart = head.position;
        wriggleSide = head.side;
        break;
    default:
        break;
    }
}

void FlightBehaviour::Step(int32_t elapsedMilliseconds)
{
    frameMs = static_cast<double>(elapsedMilliseconds);
    stateMs += frameMs;
    switch (state) {
    case FlyToTarget:
        StepFlyToTarget();
        break;
    case LevelOff:
        StepLevelOff();
        break;
    case Hover:
        StepHover();
        break;
    case Dart:
        StepDart();
        break;
    case Wriggle:
        StepWriggle();
        break;
    default:
        break;
    }
}

void FlightBehaviour::StepFlyToTarget()
{
    const RibbonNode& head = ribbon->nodes[0];
    const double dt = frameMs;
    Vec3 to = target - head.position;
    to.Normalize();
    Vec3 heading = head.direction + to * kTurnRate * dt;
    heading.Normalize();
    const Vec3 newHead = head.position + heading * kCruiseSpeed * dt;
    const Vec3 newUp = UprightUp(head.up, head.direction, dt);
    ribbon->SetHead(newHead, newUp);
    if ((ribbon->nodes[0].position - target).Length() < kArrival || stateMs > kLongestFlight)
        SetState(-1);
}

void FlightBehaviour::StepLevelOff()
{
    const RibbonNode& head = ribbon->nodes[0];
    const double t = stateMs;
    Vec3 direction;
    double speed;
    if (t < 1500.0) {
        direction = levelHorizontal + levelVertical * std::cos(kLevelFade * t);
        speed = kCruiseSpeed;
    } else {
        direction = levelHorizontal;
        const double brake = (t - 1500.0) * kGlideBrake;
        if (brake > kCruiseSpeed) {
            SetState(-1);
            return;
        }
        speed = kCruiseSpeed - brake;
    }
    direction.Normalize();
    const Vec3 newUp = UprightUp(head.up, direction, frameMs);
    ribbon->SetHead(head.position + direction * speed * frameMs, newUp);
}

void FlightBehaviour::StepHover()
{
    if (stateMs > holdMs)
        SetState(-1);
}

void FlightBehaviour::StepDart()
{
    const double t = stateMs;
    if (t >= 500.0) {
        SetState(-1);
        return;
    }
    const RibbonNode& head = ribbon->nodes[0];
    // Copies: Straighten rewrites the head's own frame.
    const Vec3 up = head.up;
    const Vec3 direction = head.direction;
    ribbon->Straighten(dartStart + dartOffset * std::sin(kDartPace * t), up, direction);
}

void FlightBehaviour::StepWriggle()
{
    const double t = stateMs;
    if (t >= 2000.0) {
        SetState(-1);
        return;
    }
    const int n = ribbon->NodeCount();
    for (int i = 0; i < n; ++i) {
        const double k = static_cast<double>(i);
        const Vec3 straight = wriggleStart - wriggleDirection * k / static_cast<double>(n);
        const double wave = std::sin((t * kWrigglePace - 3.0 * k / n) * kPi);
        ribbon->nodes[i].position = straight + wriggleSide * 0.015 * std::sin(kWriggleEnvelope * t) * wave;
    }
    ribbon->Relax();
}
