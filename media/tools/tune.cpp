// The background tune: six bars at 120 beats a minute in C major (C, Am, F, G,
// F-G, C) with a bell melody, a harp arpeggio, a soft pad and a bass, a
// ping-pong echo, and a fade to silence at the end. Every note rises from zero
// and dies away smoothly, the mix is scaled to leave headroom, and the first
// and last samples are exactly zero, so nothing clicks or clips.

#include <algorithm>
#include <cmath>
#include <vector>

#include "media/tools/asset_maker.h"
#include "media/tools/exact_math.h"

namespace vorlindy::assets {
namespace {

constexpr double kRate = kClipRate;
constexpr double kFramesPerBeat = kRate / 2.0;  // 120 beats a minute
constexpr double kPeakLevel = 0.72;             // of full scale
constexpr double kFadeSeconds = 0.7;

// One sine component of a timbre, as a multiple of the note's frequency, with
// its own level and the time in which it dies down to 1/e.
struct Partial {
  double ratio, level, decay_seconds;
};

struct Timbre {
  std::vector<Partial> partials;
  double attack_seconds, release_seconds;
};

const Timbre kBell{{{1, 1.0, 1.1}, {2, 0.35, 0.45}, {3, 0.12, 0.25}, {4, 0.05, 0.15}}, 0.006, 0.12};
const Timbre kHarp{{{1, 1.0, 0.7}, {2, 0.25, 0.3}, {3, 0.08, 0.15}}, 0.004, 0.10};
const Timbre kBass{{{1, 1.0, 1.6}, {2, 0.3, 0.6}}, 0.015, 0.15};
const Timbre kPad{{{1, 1.0, 8.0}, {1.003, 0.7, 8.0}, {2, 0.15, 4.0}}, 0.35, 0.50};

struct Note {
  double start_beat, beats;
  int midi;
};

// Equal temperament from A4 = 440 Hz, with the ratios written out so no pow()
// is needed.
double Frequency(int midi) {
  static constexpr double kSemitone[12] = {1.0,
                                           1.0594630943592953,
                                           1.122462048309373,
                                           1.189207115002721,
                                           1.2599210498948732,
                                           1.3348398541700344,
                                           1.4142135623730951,
                                           1.4983070768766815,
                                           1.5874010519681994,
                                           1.681792830507429,
                                           1.7817974362806785,
                                           1.887748625363387};
  const int from_a4 = midi - 69;
  int octave = from_a4 >= 0 ? from_a4 / 12 : -((11 - from_a4) / 12);
  double f = 440.0 * kSemitone[from_a4 - 12 * octave];
  for (; octave > 0; --octave) f *= 2.0;
  for (; octave < 0; ++octave) f /= 2.0;
  return f;
}

double SmoothStep(double u) { return u * u * (3.0 - 2.0 * u); }

// Per-frame factor for a decay to 1/e in `seconds` (first order of exp).
double DecayFactor(double seconds) { return 1.0 - 1.0 / (seconds * kRate); }

class Mix {
 public:
  Mix() : left_(kClipFrames, 0.0), right_(kClipFrames, 0.0) {}

  // Adds one note; pan runs from 0 (left) to 1 (right).
  void Play(const Timbre& timbre, const Note& note, double level, double pan) {
    const long start = std::lround(note.start_beat * kFramesPerBeat);
    const long release_at = start + std::lround(note.beats * kFramesPerBeat);
    const double attack_frames = timbre.attack_seconds * kRate;
    const double release_factor = DecayFactor(timbre.release_seconds / 4.0);
    const double gain_left = level * std::sqrt(1.0 - pan);
    const double gain_right = level * std::sqrt(pan);
    const double frequency = Frequency(note.midi);

    struct Voice {
      double step, phase, amplitude, decay;
    };
    std::vector<Voice> voices;
    for (const Partial& p : timbre.partials) {
      voices.push_back({frequency * p.ratio / kRate, 0.0, p.level, DecayFactor(p.decay_seconds)});
    }
    double release = 1.0;
    for (long frame = start; frame < kClipFrames; ++frame) {
      const double since = static_cast<double>(frame - start);
      double shape = since < attack_frames ? SmoothStep(since / attack_frames) : 1.0;
      if (frame >= release_at) {
        release *= release_factor;
        if (release < 1e-6) break;  // far below one step of a 16-bit sample
      }
      shape *= release;
      double value = 0.0;
      for (Voice& v : voices) {
        value += v.amplitude * SineOfTurns(v.phase);
        v.amplitude *= v.decay;
        v.phase += v.step;
        if (v.phase >= 1.0) v.phase -= 1.0;
      }
      left_[frame] += gain_left * shape * value;
      right_[frame] += gain_right * shape * value;
    }
  }

  // A ping-pong echo: each side hears the other a dotted eighth later.
  void Echo(double seconds, double feedback) {
    const long delay = std::lround(seconds * kRate);
    for (long frame = delay; frame < kClipFrames; ++frame) {
      const double from_left = left_[frame - delay];
      const double from_right = right_[frame - delay];
      left_[frame] += feedback * from_right;
      right_[frame] += feedback * from_left;
    }
  }

  // Fades the last stretch to exactly zero and turns the mix into 16-bit
  // samples whose loudest one sits at kPeakLevel of full scale.
  std::vector<std::int16_t> Finish() {
    const long fade_frames = std::lround(kFadeSeconds * kRate);
    const long fade_from = kClipFrames - fade_frames;
    double peak = 0.0;
    for (long frame = 0; frame < kClipFrames; ++frame) {
      if (frame >= fade_from) {
        const double u = static_cast<double>(frame - fade_from) / (fade_frames - 1);
        const double gain = 1.0 - SmoothStep(u);
        left_[frame] *= gain;
        right_[frame] *= gain;
      }
      peak = std::max({peak, std::abs(left_[frame]), std::abs(right_[frame])});
    }
    const double scale = kPeakLevel * 32767.0 / peak;
    std::vector<std::int16_t> samples;
    samples.reserve(2 * kClipFrames);
    for (long frame = 0; frame < kClipFrames; ++frame) {
      samples.push_back(static_cast<std::int16_t>(std::lround(left_[frame] * scale)));
      samples.push_back(static_cast<std::int16_t>(std::lround(right_[frame] * scale)));
    }
    return samples;
  }

 private:
  std::vector<double> left_, right_;
};

struct Chord {
  double start_beat, beats;
  int bass;
  int arpeggio[3];  // root, fifth, tenth
  int pad[3];
};

constexpr Chord kChords[] = {
    {0, 4, 36, {48, 55, 64}, {60, 64, 67}},   // C
    {4, 4, 45, {57, 64, 72}, {57, 60, 64}},   // Am
    {8, 4, 41, {53, 60, 69}, {57, 60, 65}},   // F
    {12, 4, 43, {55, 62, 71}, {55, 59, 62}},  // G
    {16, 2, 41, {53, 60, 69}, {57, 60, 65}},  // F
    {18, 2, 43, {55, 62, 71}, {55, 59, 62}},  // G
    {20, 6, 36, {48, 55, 64}, {60, 64, 67}},  // C, ringing out
};

constexpr Note kMelody[] = {
    {0, 1, 76},   {1, 1, 79},     {2, 1.5, 84},  {3.5, 0.5, 83},   // E G C' B
    {4, 1, 81},   {5, 1, 76},     {6, 1, 81},    {7, 1, 84},       // A E A C'
    {8, 1.5, 81}, {9.5, 0.5, 79}, {10, 1, 77},   {11, 1, 81},      // A G F A
    {12, 1, 79},  {13, 1, 74},    {14, 1.5, 83}, {15.5, 0.5, 81},  // G D B A
    {16, 1, 81},  {17, 1, 84},    {18, 1, 83},   {19, 1, 86},      // A C' B D'
    {20, 6, 84},                                                   // C'
};

}  // namespace

std::vector<std::int16_t> SynthesizeTune() {
  Mix mix;
  for (const Chord& chord : kChords) {
    const bool last = chord.beats > 4;
    mix.Play(kBass, {chord.start_beat, chord.beats / 2, chord.bass}, 0.45, 0.5);
    if (!last)
      mix.Play(kBass, {chord.start_beat + chord.beats / 2, chord.beats / 2, chord.bass}, 0.40, 0.5);
    for (int tone : chord.pad) mix.Play(kPad, {chord.start_beat, chord.beats, tone}, 0.10, 0.5);
    // Eighth notes up and down the chord; the last chord gets one rise only.
    static constexpr int kPattern[] = {0, 1, 2, 1, 0, 1, 2, 1};
    const int eighths = last ? 3 : static_cast<int>(chord.beats * 2);
    for (int i = 0; i < eighths; ++i) {
      const double pan = i % 2 == 0 ? 0.3 : 0.7;
      mix.Play(kHarp, {chord.start_beat + i * 0.5, 0.5, chord.arpeggio[kPattern[i % 8]]}, 0.22,
               pan);
    }
  }
  for (const Note& note : kMelody) mix.Play(kBell, note, 0.55, 0.45);
  mix.Echo(0.375, 0.22);
  return mix.Finish();
}

}  // namespace vorlindy::assets
