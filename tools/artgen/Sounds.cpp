#include "Sounds.h"

#include "ArtOutput.h"

#include "app/ResourceNames.h"

#include <QtEndian>
#include <QtMath>

#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kRate = 22050;

// A mono track of samples in -1..1.
class Track {
public:
    explicit Track(double seconds) : samples_(static_cast<size_t>(seconds * kRate), 0.0) {}

    size_t size() const { return samples_.size(); }
    double &at(size_t i) { return samples_[i]; }

    // Adds `voice(t)` for t from `start` on, for `seconds`.
    void add(double start, double seconds, const std::function<double(double)> &voice)
    {
        const size_t first = static_cast<size_t>(start * kRate);
        const size_t count = static_cast<size_t>(seconds * kRate);
        for (size_t i = 0; i < count && first + i < samples_.size(); ++i)
            samples_[first + i] += voice(static_cast<double>(i) / kRate);
    }

    // 16-bit PCM WAV, peak-normalised to 0.85 of full scale.
    QByteArray wav() const
    {
        double peak = 1e-9;
        for (double s : samples_)
            peak = qMax(peak, std::abs(s));
        const double gain = 0.85 / peak;
        QByteArray pcm;
        pcm.resize(static_cast<int>(samples_.size() * 2));
        for (size_t i = 0; i < samples_.size(); ++i) {
            const qint16 value = static_cast<qint16>(qBound(-32767.0, samples_[i] * gain * 32767.0, 32767.0));
            qToLittleEndian(value, pcm.data() + i * 2);
        }
        QByteArray out("RIFF");
        appendLE32(out, 36 + pcm.size());
        out += "WAVEfmt ";
        appendLE32(out, 16);
        appendLE16(out, 1); // PCM
        appendLE16(out, 1); // mono
        appendLE32(out, kRate);
        appendLE32(out, kRate * 2);
        appendLE16(out, 2);
        appendLE16(out, 16);
        out += "data";
        appendLE32(out, pcm.size());
        return out + pcm;
    }

private:
    static void appendLE32(QByteArray &a, quint32 v)
    {
        char b[4];
        qToLittleEndian(v, b);
        a.append(b, 4);
    }
    static void appendLE16(QByteArray &a, quint16 v)
    {
        char b[2];
        qToLittleEndian(v, b);
        a.append(b, 2);
    }
    std::vector<double> samples_;
};

// Deterministic white noise.
class Noise {
public:
    explicit Noise(quint32 seed) : state_(seed | 1u) {}
    double next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return (state_ / 4294967295.0) * 2.0 - 1.0;
    }

private:
    quint32 state_;
};

// A one-pole low-pass filter over a noise source: darker the lower the cut-off.
class Rumble {
public:
    Rumble(quint32 seed, double cutoffHz) : noise_(seed), alpha_(1.0 - std::exp(-2 * M_PI * cutoffHz / kRate)) {}
    double next()
    {
        value_ += alpha_ * (noise_.next() - value_);
        return value_;
    }
    void setCutoff(double hz) { alpha_ = 1.0 - std::exp(-2 * M_PI * hz / kRate); }

private:
    Noise noise_;
    double alpha_;
    double value_ = 0;
};

double decay(double t, double rate)
{
    return std::exp(-t * rate);
}

// Attack then release, for notes.
double envelope(double t, double length, double attack = 0.01)
{
    if (t < attack)
        return t / attack;
    return qMax(0.0, 1.0 - (t - attack) / (length - attack));
}

// A brass-like note: a few harmonics with a soft attack.
double brass(double t, double hz, double length)
{
    double s = 0;
    for (int h = 1; h <= 6; ++h)
        s += std::sin(2 * M_PI * hz * h * t) / (h * 1.3);
    return s * envelope(t, length, 0.03) * 0.5;
}

// A bell: inharmonic partials that ring out.
double bell(double t, double hz)
{
    return (std::sin(2 * M_PI * hz * t) + 0.5 * std::sin(2 * M_PI * hz * 2.76 * t)
            + 0.25 * std::sin(2 * M_PI * hz * 5.4 * t)) * decay(t, 5.0);
}

double note(int semitonesFromA4)
{
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

// A gun or cannon shot: a noise crack over a low thump.
void shot(Track &track, double start, quint32 seed, double weight)
{
    auto crack = std::make_shared<Rumble>(seed, 2500);
    track.add(start, 0.35, [crack, weight](double t) {
        return (crack->next() * decay(t, 28) + std::sin(2 * M_PI * (70 - 40 * t) * t) * decay(t, 9) * weight);
    });
}

QByteArray attackSound()
{
    Track track(0.95);
    shot(track, 0.00, 11, 0.8);
    shot(track, 0.18, 12, 0.5);
    shot(track, 0.33, 13, 0.9);
    shot(track, 0.58, 14, 0.6);
    return track.wav();
}

QByteArray conquestSound()
{
    Track track(1.5);
    shot(track, 0.0, 21, 1.0);
    track.add(0.35, 0.25, [](double t) { return brass(t, note(-2), 0.25); });  // G4
    track.add(0.6, 0.8, [](double t) { return brass(t, note(3), 0.8); });     // C5
    track.add(0.6, 0.8, [](double t) { return brass(t, note(7), 0.8) * 0.6; }); // E5
    return track.wav();
}

QByteArray placementSound()
{
    Track track(0.4);
    auto click = std::make_shared<Rumble>(31, 4000);
    track.add(0.0, 0.4, [click](double t) {
        return std::sin(2 * M_PI * (190 - 160 * t) * t) * decay(t, 14) + click->next() * decay(t, 80) * 0.5;
    });
    return track.wav();
}

QByteArray moveSound()
{
    Track track(0.9);
    for (int step = 0; step < 4; ++step) {
        auto boots = std::make_shared<Rumble>(41 + step, 900);
        track.add(step * 0.2, 0.15, [boots](double t) { return boots->next() * decay(t, 30); });
    }
    auto slide = std::make_shared<Rumble>(49, 400);
    track.add(0.0, 0.9, [slide](double t) { return slide->next() * 0.35 * std::sin(M_PI * t / 0.9); });
    return track.wav();
}

QByteArray nextPlayerSound()
{
    Track track(0.9);
    track.add(0.0, 0.9, [](double t) { return bell(t, note(7 + 12)); });   // E6
    track.add(0.18, 0.72, [](double t) { return bell(t, note(12 + 12)); }); // A6
    return track.wav();
}

QByteArray continentSound()
{
    Track track(1.6);
    const int steps[] = {3, 7, 10, 15}; // C5 E5 G5 C6
    for (int i = 0; i < 4; ++i)
        track.add(i * 0.14, i == 3 ? 1.0 : 0.2, [i, steps](double t) { return brass(t, note(steps[i]), i == 3 ? 1.0 : 0.2); });
    track.add(0.42, 1.0, [](double t) { return brass(t, note(7), 1.0) * 0.6 + brass(t, note(10), 1.0) * 0.5; });
    return track.wav();
}

QByteArray victorySound()
{
    Track track(3.2);
    auto drum = std::make_shared<Rumble>(61, 700);
    track.add(0.0, 0.9, [drum](double t) {
        return drum->next() * (0.5 + 0.5 * std::sin(2 * M_PI * 14 * t)) * (0.3 + t * 0.6);
    });
    const double times[] = {0.9, 1.05, 1.2, 1.4};
    const int steps[] = {3, 3, 3, 10}; // C C C G
    for (int i = 0; i < 4; ++i)
        track.add(times[i], 0.18, [i, steps](double t) { return brass(t, note(steps[i]), 0.18); });
    // The final chord, with a little vibrato.
    for (int step : {3, 7, 10, 15})
        track.add(1.65, 1.5, [step](double t) {
            return brass(t * (1 + 0.004 * std::sin(2 * M_PI * 5.5 * t)), note(step), 1.5) * 0.6;
        });
    shot(track, 1.65, 62, 1.0);
    return track.wav();
}

QByteArray propellerSound()
{
    Track track(2.0);
    track.add(0.0, 2.0, [](double t) {
        const double hz = 95 - 18 * t; // passing by: the pitch falls
        double saw = 0;
        for (int h = 1; h <= 8; ++h)
            saw += std::sin(2 * M_PI * hz * h * t) / h;
        const double blades = 0.6 + 0.4 * std::sin(2 * M_PI * 24 * t);
        return saw * blades * std::sin(M_PI * t / 2.0);
    });
    return track.wav();
}

// Rotor chops: bursts of low noise at the rotor's rate, with a faint turbine whine.
QByteArray helicopterSound(double seconds, double chopHz, double whineHz, quint32 seed)
{
    Track track(seconds);
    auto air = std::make_shared<Rumble>(seed, 600);
    track.add(0.0, seconds, [=](double t) {
        const double phase = std::fmod(t * chopHz, 1.0);
        const double chop = std::exp(-phase * 9.0);
        const double fade = qMin(1.0, t / 0.15) * qMin(1.0, (seconds - t) / 0.25);
        return (air->next() * chop * 1.2 + std::sin(2 * M_PI * whineHz * t) * 0.06) * fade;
    });
    return track.wav();
}

QByteArray playerOutSound()
{
    // A falling "oooh": a voice-like pulse train shaped by two vowel resonances.
    Track track(1.3);
    track.add(0.0, 1.3, [](double t) {
        const double pitch = 170 - 60 * t;
        double s = 0;
        for (int h = 1; h <= 20; ++h) {
            const double f = pitch * h;
            const double formant = std::exp(-std::pow((f - 320) / 120, 2)) + 0.5 * std::exp(-std::pow((f - 800) / 160, 2));
            s += formant * std::sin(2 * M_PI * pitch * h * t);
        }
        return s * envelope(t, 1.3, 0.08);
    });
    return track.wav();
}

QByteArray missileSound()
{
    Track track(1.3);
    auto hiss = std::make_shared<Rumble>(71, 400);
    track.add(0.0, 1.3, [hiss](double t) {
        hiss->setCutoff(400 + 3000 * t);
        return hiss->next() * std::sin(M_PI * t / 1.3) + std::sin(2 * M_PI * (300 + 500 * t) * t) * 0.1;
    });
    return track.wav();
}

QByteArray nukeSound()
{
    Track track(3.2);
    auto boom = std::make_shared<Rumble>(81, 180);
    auto crackle = std::make_shared<Rumble>(82, 3000);
    Noise sparks(83);
    track.add(0.0, 3.2, [=, &sparks](double t) {
        const double body = boom->next() * 3.0 * decay(t, 1.1);
        const double low = std::sin(2 * M_PI * (45 - 15 * t) * t) * decay(t, 1.5);
        const double crack = crackle->next() * decay(t, 12) + (sparks.next() > 0.995 ? 0.4 * decay(t, 2) : 0.0);
        return body + low + crack;
    });
    return track.wav();
}

QByteArray sonarSound()
{
    Track track(1.6);
    track.add(0.0, 1.6, [](double t) { return std::sin(2 * M_PI * 1150 * t) * decay(t, 4.5) * qMin(1.0, t / 0.005); });
    track.add(0.55, 1.05, [](double t) { return std::sin(2 * M_PI * 1150 * t) * decay(t, 6) * 0.3; });
    return track.wav();
}

} // namespace

void writeSounds(ArtOutput &out)
{
    const auto add = [&out](const QString &name, const QByteArray &wav) {
        out.addRunFile(QStringLiteral("sounds/") + name, wav, true);
    };
    add(QStringLiteral("aanval2.wav"), attackSound());
    add(QStringLiteral("aanval3.wav"), conquestSound());
    add(QStringLiteral("plaatsen9.wav"), placementSound());
    add(QStringLiteral("schuiven4.wav"), moveSound());
    add(QStringLiteral("volgendesp3.wav"), nextPlayerSound());
    add(QStringLiteral("wdveroverd.wav"), continentSound());
    add(QStringLiteral("overwinning.wav"), victorySound());
    add(QStringLiteral("prop.wav"), propellerSound());
    add(QStringLiteral("helis3.wav"), helicopterSound(2.0, 9.0, 520, 91));
    add(QStringLiteral("oooh2.wav"), playerOutSound());
    add(QStringLiteral("missile3.wav"), missileSound());
    add(QStringLiteral("nuke4.wav"), nukeSound());
    add(QStringLiteral("sonar.wav"), sonarSound());
    // Each colour's small helicopter has its own rotor rate and whine.
    for (int colour = 1; colour <= 10; ++colour)
        add(QStringLiteral("heli%1.wav").arg(colour),
            helicopterSound(1.2, 14.0 + colour * 0.8, 700 + colour * 35, 100 + colour));
}
