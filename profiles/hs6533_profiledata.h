#pragma once
// The headset's profile document: the base sections plus the audio settings ("SystemSetStages"), the
// stored equalizer rows and the user's custom equalizer presets.

#include <string>

#include "profiles/basic_profiledata.h"

namespace norvane {

class CHs6533Profiledata : public CBasicProfiledata {
 public:
  static constexpr std::size_t kBandCount = 10;
  // Equalizer type whose values are the selected custom preset, not a stored row.
  static constexpr std::int32_t kCustomEqType = 13;
  // The editor keeps at most 20 custom presets; indexes far beyond that are damage.
  static constexpr std::int32_t kMaxCustomEqIndex = 63;

  HeadsetSystemSetStages GetSystemSetStages();
  void SetSystemSetStages(const HeadsetSystemSetStages& stages);

  // The ten band values stored for an equalizer type (type 0 and unknown types share row 1; type 13 has
  // none and gives an empty vector). A missing row is written as zeros and read as zeros.
  std::vector<std::int32_t> GetEqValues(std::int32_t type);
  // Writes the first ten values into the type's row. False, with nothing written, for type 13 or fewer
  // than ten values.
  bool SetEqValues(std::int32_t type, const std::vector<std::int32_t>& values);

  std::vector<std::string> GetCustomEqNames();
  void SetCustomEqNames(const std::vector<std::string>& names);

  // The same for custom preset index; an index outside 0..kMaxCustomEqIndex gives zeros and writes nothing.
  std::vector<std::int32_t> GetCustomEqValues(std::int32_t index);
  bool SetCustomEqValues(std::int32_t index, const std::vector<std::int32_t>& values);
  // Removes the values of one custom preset; the later presets' values move up one place with their names.
  void RemoveCustomEqValues(std::int32_t index);

 private:
  std::vector<std::int32_t> ReadBands(std::string_view section, std::int32_t row);
  void WriteBands(std::string_view section, std::int32_t row, const std::vector<std::int32_t>& values);

  HeadsetSystemSetStages system_set_stages_;
};

}  // namespace norvane
