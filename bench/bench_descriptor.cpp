// Report-descriptor parsing and report decoding: enumeration parses every node's descriptor on each scan
// pass, and event reports are decoded as they arrive.
#include <benchmark/benchmark.h>

#include "hid/report_descriptor.h"
#include "hid/usage_table.h"
#include "tests/hid/test_descriptors.h"

namespace {

using norvane::hid::DescriptorReportType;
using norvane::hid::ParseReportDescriptor;

void BM_ParseInterfaceOne(benchmark::State& state) {
  for (auto _ : state) {
    auto result = ParseReportDescriptor(norvane::hid::testing::kOurInterfaceOne);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_ParseInterfaceOne);

void BM_ParseComposite(benchmark::State& state) {
  for (auto _ : state) {
    auto result = ParseReportDescriptor(norvane::hid::testing::kCompositeWithIds);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_ParseComposite);

// The largest descriptor a node may have: many small value fields in one collection.
void BM_ParseLargest(benchmark::State& state) {
  std::vector<uint8_t> bytes = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x01};
  for (size_t i = 0; i < norvane::hid::kMaxCapsPerCollection; ++i) {
    bytes.insert(bytes.end(), {0x09, 0x30, 0x81, 0x02});
  }
  bytes.push_back(0xC0);
  for (auto _ : state) {
    auto result = ParseReportDescriptor(bytes);
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ParseLargest);

void BM_DecodeConsumerEvent(benchmark::State& state) {
  const auto descriptor = *ParseReportDescriptor(norvane::hid::testing::kOurInterfaceOne).descriptor;
  norvane::hid::UsageTable table(descriptor.collections[2].Layout(DescriptorReportType::kInput));
  const std::vector<uint8_t> report = {0x03, 0xE9, 0x00};
  for (auto _ : state) benchmark::DoNotOptimize(table.Decode(report));
}
BENCHMARK(BM_DecodeConsumerEvent);

}  // namespace

BENCHMARK_MAIN();
