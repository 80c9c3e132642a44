#include "media/alsa_output.h"

#include <alsa/asoundlib.h>
#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <vector>

namespace vorlindy {
namespace {

constexpr unsigned kQueueMicroseconds = 500'000;
constexpr unsigned kPeriodMicroseconds = 100'000;

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

void SilenceAlsaErrors() {
  static std::once_flag once;
  std::call_once(once, [] { snd_lib_error_set_handler(&IgnoreAlsaError); });
}

// The ALSA sample format for a PCM clip, whose samples are unsigned at 8 bits
// and signed little-endian above.
std::optional<snd_pcm_format_t> SampleFormat(const ClipFormat& format) {
  const unsigned bytes = (format.bits_per_sample + 7u) / 8u;
  if (format.bytes_per_frame != bytes * format.channels) return std::nullopt;
  switch (bytes) {
    case 1:
      return SND_PCM_FORMAT_U8;
    case 2:
      return SND_PCM_FORMAT_S16_LE;
    case 3:
      return SND_PCM_FORMAT_S24_3LE;
    case 4:
      return SND_PCM_FORMAT_S32_LE;
    default:
      return std::nullopt;
  }
}

struct PcmCloser {
  void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
};
using PcmHandle = std::unique_ptr<snd_pcm_t, PcmCloser>;

struct HwParamsFree {
  void operator()(snd_pcm_hw_params_t* p) const { snd_pcm_hw_params_free(p); }
};
struct SwParamsFree {
  void operator()(snd_pcm_sw_params_t* p) const { snd_pcm_sw_params_free(p); }
};

struct QueueShape {
  snd_pcm_uframes_t buffer_frames = 0;
  snd_pcm_uframes_t period_frames = 0;
};

std::optional<QueueShape> Configure(snd_pcm_t* pcm, const ClipFormat& format,
                                    snd_pcm_format_t sample_format) {
  snd_pcm_hw_params_t* raw_hw = nullptr;
  if (snd_pcm_hw_params_malloc(&raw_hw) < 0) return std::nullopt;
  const std::unique_ptr<snd_pcm_hw_params_t, HwParamsFree> hw(raw_hw);
  unsigned queue_us = kQueueMicroseconds, period_us = kPeriodMicroseconds;
  int dir = 0;
  if (snd_pcm_hw_params_any(pcm, hw.get()) < 0 ||
      snd_pcm_hw_params_set_access(pcm, hw.get(), SND_PCM_ACCESS_RW_INTERLEAVED) < 0 ||
      snd_pcm_hw_params_set_format(pcm, hw.get(), sample_format) < 0 ||
      snd_pcm_hw_params_set_channels(pcm, hw.get(), format.channels) < 0 ||
      snd_pcm_hw_params_set_rate(pcm, hw.get(), format.frames_per_second, 0) < 0 ||
      snd_pcm_hw_params_set_buffer_time_near(pcm, hw.get(), &queue_us, &dir) < 0 ||
      snd_pcm_hw_params_set_period_time_near(pcm, hw.get(), &period_us, &dir) < 0 ||
      snd_pcm_hw_params(pcm, hw.get()) < 0) {
    return std::nullopt;
  }
  QueueShape shape;
  if (snd_pcm_hw_params_get_buffer_size(hw.get(), &shape.buffer_frames) < 0 ||
      snd_pcm_hw_params_get_period_size(hw.get(), &shape.period_frames, &dir) < 0) {
    return std::nullopt;
  }

  snd_pcm_sw_params_t* raw_sw = nullptr;
  if (snd_pcm_sw_params_malloc(&raw_sw) < 0) return std::nullopt;
  const std::unique_ptr<snd_pcm_sw_params_t, SwParamsFree> sw(raw_sw);
  // Start only with a full queue, so the first period never runs short;
  // Queued() starts a clip that is shorter than the queue.
  if (snd_pcm_sw_params_current(pcm, sw.get()) < 0 ||
      snd_pcm_sw_params_set_start_threshold(pcm, sw.get(), shape.buffer_frames) < 0 ||
      snd_pcm_sw_params_set_avail_min(pcm, sw.get(), shape.period_frames) < 0 ||
      snd_pcm_sw_params(pcm, sw.get()) < 0) {
    return std::nullopt;
  }
  return shape;
}

class AlsaStream final : public SoundStream {
 public:
  AlsaStream(PcmHandle pcm, const ClipFormat& format, QueueShape shape)
      : pcm_(std::move(pcm)), format_(format), shape_(shape) {}

  std::optional<std::size_t> Write(std::span<const unsigned char> frames) override {
    const snd_pcm_uframes_t count = frames.size() / format_.bytes_per_frame;
    const snd_pcm_sframes_t written = snd_pcm_writei(pcm_.get(), frames.data(), count);
    if (written >= 0) return static_cast<std::size_t>(written);
    if (written == -EAGAIN) return 0;
    // An underrun (-EPIPE) or a suspend: prepare again and go on.
    if (snd_pcm_recover(pcm_.get(), static_cast<int>(written), 1) >= 0) return 0;
    return std::nullopt;
  }

  std::optional<std::size_t> Queued() override {
    switch (snd_pcm_state(pcm_.get())) {
      case SND_PCM_STATE_PREPARED:
        if (snd_pcm_start(pcm_.get()) < 0) return std::nullopt;
        break;
      case SND_PCM_STATE_XRUN:  // the queue ran empty: everything was heard
      case SND_PCM_STATE_SETUP:
        return 0;
      case SND_PCM_STATE_RUNNING:
        break;
      default:
        return std::nullopt;
    }
    const snd_pcm_sframes_t room = snd_pcm_avail(pcm_.get());
    if (room == -EPIPE) return 0;
    if (room < 0) return std::nullopt;
    const auto free = std::min(static_cast<snd_pcm_uframes_t>(room), shape_.buffer_frames);
    return static_cast<std::size_t>(shape_.buffer_frames - free);
  }

  void Wait(const StopSignal& stop, std::chrono::milliseconds timeout) override {
    const int timeout_ms = static_cast<int>(std::max<std::chrono::milliseconds::rep>(
        0, std::min<std::chrono::milliseconds::rep>(timeout.count(), 60'000)));
    const snd_pcm_sframes_t room = snd_pcm_avail(pcm_.get());
    if (room < 0) return;  // an underrun or error for Write or Queued to handle
    if (static_cast<snd_pcm_uframes_t>(room) >= shape_.period_frames) {
      // There is room but nothing left to write: the queue is playing out,
      // and the device's descriptors would report "ready" all along. Sleep
      // for about the time the queued frames take instead.
      const auto queued =
          shape_.buffer_frames - std::min<snd_pcm_uframes_t>(room, shape_.buffer_frames);
      const int play_ms = static_cast<int>(queued * 1000 / format_.frames_per_second) + 1;
      stop.WaitFor(std::min(play_ms, timeout_ms));
      return;
    }
    const int count = snd_pcm_poll_descriptors_count(pcm_.get());
    if (count <= 0) {
      stop.WaitFor(timeout_ms);
      return;
    }
    std::vector<pollfd> watch(static_cast<std::size_t>(count) + 1);
    snd_pcm_poll_descriptors(pcm_.get(), watch.data(), static_cast<unsigned>(count));
    watch.back() = {stop.Descriptor(), POLLIN, 0};
    if (poll(watch.data(), watch.size(), timeout_ms) > 0) {
      unsigned short events = 0;
      snd_pcm_poll_descriptors_revents(pcm_.get(), watch.data(), static_cast<unsigned>(count),
                                       &events);
    }
  }

  void Drop() override { snd_pcm_drop(pcm_.get()); }

 private:
  PcmHandle pcm_;
  ClipFormat format_;
  QueueShape shape_;
};

}  // namespace

std::unique_ptr<SoundStream> AlsaOutput::Open(const ClipFormat& format) {
  const std::optional<snd_pcm_format_t> sample_format = SampleFormat(format);
  if (!sample_format) return nullptr;
  SilenceAlsaErrors();
  snd_pcm_t* raw_pcm = nullptr;
  if (snd_pcm_open(&raw_pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
    return nullptr;
  }
  PcmHandle pcm(raw_pcm);
  const std::optional<QueueShape> shape = Configure(pcm.get(), format, *sample_format);
  if (!shape) return nullptr;
  return std::make_unique<AlsaStream>(std::move(pcm), format, *shape);
}

}  // namespace vorlindy
