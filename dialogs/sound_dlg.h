#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/qt/template_dialog.h"
#include "sound/wave_buffer.h"

namespace kelvora {

class WavePlayer;

// A dialog that renders its sound into a buffer of its own and plays it at
// the volume the caller sets. The caller runs DoModal, reads volume() however
// the dialog ended, and closes the application if failed(): the buffer could
// not be had.
class CSoundDlg : public platform::TemplateDialog {
 public:
  void SetVolume(std::int32_t volume) { m_volume = volume; }
  std::int32_t volume() const { return m_volume; }
  bool failed() const { return m_failed; }

 protected:
  CSoundDlg(const platform::DialogTemplate& dialogTemplate, WavePlayer& player,
            platform::Services& services, QWidget* parent);

  // Takes the buffer, once a run starts; without one, says so and ends the
  // dialog before any input.
  void AllocateWave(std::size_t size);
  void OnDestroy() override;

  WavePlayer& player() const { return m_player; }
  WaveBuffer& wave() { return m_wave; }

 private:
  WavePlayer& m_player;
  std::int32_t m_volume = 0;
  bool m_failed = false;
  WaveBuffer m_wave;
};

}  // namespace kelvora
