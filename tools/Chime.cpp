#include "tools/Chime.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int kRate = 44100;

// A struck bell: a few inharmonic partials, each dying away at its own rate.
void Strike(std::vector<double>& samples, double start, double frequency, double loudness) {
    struct tPartial {
        double ratio, level, decay;
    };
    const tPartial partials[] = {
        {1.0, 1.0, 2.6}, {2.0, 0.45, 3.8}, {2.76, 0.25, 5.0}, {5.4, 0.12, 8.0}, {0.5, 0.18, 2.0}};
    const size_t first = static_cast<size_t>(start * kRate);
    for (size_t i = first; i < samples.size(); ++i) {
        const double t = static_cast<double>(i - first) / kRate;
        const double attack = std::min(1.0, t / 0.004); // no click at the onset
        double value = 0;
        for (const tPartial& partial : partials)
            value += partial.level * std::exp(-partial.decay * t) *
                     std::sin(2 * M_PI * frequency * partial.ratio * t);
        samples[i] += loudness * attack * value;
    }
}

void Put(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

std::string MakeChime() {
    std::vector<double> samples(static_cast<size_t>(1.7 * kRate), 0.0);
    Strike(samples, 0.00, 1046.50, 1.0); // C6
    Strike(samples, 0.22, 1318.51, 0.9); // E6
    Strike(samples, 0.44, 1567.98, 1.0); // G6
    double peak = 0;
    for (double sample : samples)
        peak = std::max(peak, std::abs(sample));
    const double scale = 0.7 * 32767 / peak; // about -3 dB below full scale
    const size_t fade = kRate / 10;          // a short fade at the very end
    std::string data;
    for (size_t i = 0; i < samples.size(); ++i) {
        double value = samples[i] * scale;
        if (i + fade > samples.size())
            value *= static_cast<double>(samples.size() - i) / fade;
        Put(data, static_cast<uint32_t>(static_cast<int16_t>(std::lround(value))), 2);
    }
    std::string out = "RIFF";
    Put(out, static_cast<uint32_t>(36 + data.size()), 4);
    out += "WAVEfmt ";
    Put(out, 16, 4);
    Put(out, 1, 2); // PCM
    Put(out, 1, 2); // mono
    Put(out, kRate, 4);
    Put(out, kRate * 2, 4);
    Put(out, 2, 2);
    Put(out, 16, 2);
    out += "data";
    Put(out, static_cast<uint32_t>(data.size()), 4);
    return out + data;
}
