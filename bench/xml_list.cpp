// Reading and writing the files kept as XML: a settlement file of 60 categories and the
// colour scheme, as bytes in memory (the disk is not measured).
#include <benchmark/benchmark.h>

#include <string>

#include "foundation/Codec.h"
#include "foundation/ColorScheme.h"
#include "foundation/XmlList.h"

namespace {

std::string SettlementBytes() {
  kzm::TxmlList doc;
  doc.AddChild("first", "20240226");
  doc.AddChild("last", "20240325");
  for (int i = 0; i < 60; ++i) {
    kzm::TxmlList& head = doc.Items(doc.AddChild("head", ""));
    head.AddChild("name", "食費" + std::to_string(i));
    head.AddChild("kind", "支出");
    head.AddChild("balance", "0");
    head.AddChild("total", std::to_string(i * 1234));
    head.AddChild("visible", "1");
  }
  return doc.SaveToBytes();
}

void ParseSettlement(benchmark::State& state) {
  const std::string bytes = SettlementBytes();
  for (auto _ : state) {
    kzm::TxmlList doc;
    doc.ParseText(bytes);
    benchmark::DoNotOptimize(doc.Count());
  }
}
BENCHMARK(ParseSettlement);

void WriteSettlement(benchmark::State& state) {
  kzm::TxmlList doc;
  doc.ParseText(SettlementBytes());
  for (auto _ : state) benchmark::DoNotOptimize(doc.SaveToBytes());
}
BENCHMARK(WriteSettlement);

void LoadDefaultColours(benchmark::State& state) {
  for (auto _ : state) {
    kzm::TColorsList scheme;
    scheme.LoadDefaultColors();
    benchmark::DoNotOptimize(scheme.GetColor("日データ入力\\文字\\小計"));
  }
}
BENCHMARK(LoadDefaultColours);

}  // namespace
