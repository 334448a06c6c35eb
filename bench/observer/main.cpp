// observer_bench: how close calibration by eye gets. A simulated observer
// calibrates a display model through the real calibration window, and a
// judge measures the display's grey levels before and after against the
// target's tone curve. See the README, "How close calibration by eye gets".
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/observer/judge.h"
#include "bench/observer/observer.h"
#include "bench/observer/tone_graph.h"
#include "tests/temp_folder.h"

namespace {

// The displays of the README's table.
const char* const TableDisplays[] = {
    "name=gamma 1.8,gamma=1.8",
    "name=gamma 2.2,gamma=2.2",
    "name=gamma 2.6,gamma=2.6",
    "name=sRGB panel,response=srgb",
    "name=raised black 0.8 cd/m²,black=0.8",
    "name=S-shaped LCD,response=lcd,lcd-contrast=1.2",
    "name=crushed black,crush-black=0.03",
    "name=clipped highlights,clip-white=0.94",
    "name=blue short 7%,blue-gain=0.93",
    "name=green tint,red-gain=0.95,blue-gain=0.95",
    "name=red gamma 2.5,red-gamma=2.5",
    "name=10-bit gamma 2.6,gamma=2.6,bits=10",
    "name=2.6 bright blue short,gamma=2.6,black=0.4,white=180,blue-gain=0.93",
};
const TTarget Targets[] = {TTarget::Srgb, TTarget::Gamma22, TTarget::Bt1886};

struct TOptions {
  std::string Display;
  TTarget Target = TTarget::Srgb;
  TObserverKind Observer = TObserverKind::Ideal;
  uint32_t Seed = 1;
  int Runs = 1;
  int Part = 0, Parts = 1;  // the table's displays whose index is Part modulo Parts
  bool Json = false, Table = false, Levels = false;
  std::string Graph, Script;
};

struct TFigures {
  std::string Display, Target;
  TJudgement Before, After;  // After: the run with the median mean
  int Actions = 0;           // median over the runs
  int Runs = 1;
  std::vector<std::string> Notes;
};

void Usage() {
  std::cerr << "usage: observer_bench --display MODEL [--target srgb|gamma2.2|bt1886] [--observer ideal|typical]\n"
               "                      [--seed N] [--runs N] [--json] [--script FILE]\n                      [--levels]\n"
               "       observer_bench --table [--runs N] [--json] [--graph FILE.png] [--part K/N]\n"
               "MODEL is a comma list of key=value:\n"
            << DisplayModelKeys();
}

bool ParseOptions(int argc, char** argv, TOptions& options) try {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--json") options.Json = true;
    else if (arg == "--table") options.Table = true;
    else if (arg == "--levels") options.Levels = true;
    else if (!hasValue) return false;
    else if (arg == "--display") options.Display = argv[++i];
    else if (arg == "--target") { if (!ParseTarget(argv[++i], options.Target)) return false; }
    else if (arg == "--observer") {
      const std::string kind = argv[++i];
      if (kind != "ideal" && kind != "typical") return false;
      options.Observer = kind == "ideal" ? TObserverKind::Ideal : TObserverKind::Typical;
    } else if (arg == "--seed") options.Seed = uint32_t(std::stoul(argv[++i]));
    else if (arg == "--runs") options.Runs = std::max(1, std::stoi(argv[++i]));
    else if (arg == "--graph") options.Graph = argv[++i];
    else if (arg == "--part") {
      const std::string part = argv[++i];
      const size_t slash = part.find('/');
      if (slash == std::string::npos) return false;
      options.Part = std::stoi(part.substr(0, slash)), options.Parts = std::stoi(part.substr(slash + 1));
      if (options.Parts < 1 || options.Part < 0 || options.Part >= options.Parts) return false;
    }
    else if (arg == "--script") options.Script = argv[++i];
    else return false;
  }
  return options.Table || !options.Display.empty();
} catch (const std::exception&) {  // a number that is none
  return false;
}

TFigures Measure(const TDisplayModel& model, TTarget target, TObserverKind kind, uint32_t seed, int runs,
                 const std::string& scriptPath) {
  TFigures figures;
  figures.Display = model.Name;
  figures.Target = TargetName(target);
  figures.Runs = runs;
  TGammaRamp identity;
  for (int c = 0; c < 3; ++c)
    for (int v = 0; v < LevelCount; ++v) identity[c * LevelCount + v] = uint16_t(v * 257);
  figures.Before = Judge(model, identity, target);
  std::vector<std::pair<TJudgement, TObserverRun>> results;
  for (int run = 0; run < runs; ++run) {
    TObserverRun result = Calibrate(model, StandardIndexFor(target, model), kind, seed + uint32_t(run));
    results.emplace_back(Judge(model, result.Ramp, target), std::move(result));
  }
  std::vector<int> actions;
  for (const auto& [judgement, result] : results) actions.push_back(int(result.Script.size()));
  std::sort(actions.begin(), actions.end());
  figures.Actions = actions[actions.size() / 2];
  std::sort(results.begin(), results.end(), [](const auto& a, const auto& b) { return a.first.Mean < b.first.Mean; });
  const auto& median = results[results.size() / 2];
  figures.After = median.first;
  figures.Notes = median.second.Notes;
  if (!scriptPath.empty()) {
    std::ofstream script(scriptPath);
    for (const std::string& line : median.second.Script) script << line << '\n';
  }
  return figures;
}

std::string Fixed(double value, int digits = 2) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", digits, value);
  return text;
}

std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
  return quoted + '"';
}

std::string JsonJudgement(const TJudgement& j) {
  return "{\"mean\": " + Fixed(j.Mean, 3) + ", \"p95\": " + Fixed(j.P95, 3) + ", \"max\": " + Fixed(j.Max, 3) +
         ", \"gamma\": " + Fixed(j.Gamma, 3) + ", \"gamma_error\": " + Fixed(j.Gamma - j.TargetGamma, 3) + "}";
}

std::string JsonFigures(const TFigures& f, const char* observer) {
  std::string notes;
  for (const std::string& note : f.Notes) notes += (notes.empty() ? "" : ", ") + JsonString(note);
  return "{\"display\": " + JsonString(f.Display) + ", \"target\": " + JsonString(f.Target) +
         ", \"observer\": \"" + observer + "\", \"runs\": " + std::to_string(f.Runs) +
         ", \"before\": " + JsonJudgement(f.Before) + ", \"after\": " + JsonJudgement(f.After) +
         ", \"actions\": " + std::to_string(f.Actions) + ", \"notes\": [" + notes + "]}";
}

std::string TextJudgement(const TJudgement& j) {
  return "mean " + Fixed(j.Mean) + "  p95 " + Fixed(j.P95) + "  max " + Fixed(j.Max) + "  gamma " +
         Fixed(j.Gamma) + " (error " + (j.Gamma >= j.TargetGamma ? "+" : "") + Fixed(j.Gamma - j.TargetGamma) + ")";
}

void PrintFigures(const TFigures& f, const char* observer) {
  std::cout << f.Display << ", target " << f.Target << ", " << observer << " observer";
  if (f.Runs > 1) std::cout << ", median of " << f.Runs << " runs";
  std::cout << "\n  before: " << TextJudgement(f.Before) << "\n  after:  " << TextJudgement(f.After)
            << "\n  actions: " << f.Actions << '\n';
  for (const std::string& note : f.Notes) std::cout << "  note: " << note << '\n';
}

int RunTable(const TOptions& options) {
  std::vector<TGraphPanel> panels;
  std::string json;
  if (!options.Json && options.Part == 0)
    std::cout << "| display | target | before mean / max | ideal after mean / max | ideal actions | typical after, "
                 "median mean of "
              << options.Runs << " | typical actions |\n|---|---|---|---|---|---|---|\n";
  for (int index = 0; index < int(std::size(TableDisplays)); ++index) {
    if (index % options.Parts != options.Part) continue;
    const char* modelText = TableDisplays[index];
    TDisplayModel model;
    std::string error;
    ParseDisplayModel(modelText, model, error);
    for (TTarget target : Targets) {
      const TFigures ideal = Measure(model, target, TObserverKind::Ideal, options.Seed, 1, "");
      const TFigures typical = Measure(model, target, TObserverKind::Typical, options.Seed, options.Runs, "");
      if (target == TTarget::Gamma22 && (model.Name == "gamma 2.6" || model.Name == "S-shaped LCD"))
        panels.push_back({ideal.Before, ideal.After});
      if (options.Json) {
        json += (json.empty() ? "" : ",\n ") + JsonFigures(ideal, "ideal") + ",\n " + JsonFigures(typical, "typical");
        continue;
      }
      std::cout << "| " << model.Name << " | " << ideal.Target << " | " << Fixed(ideal.Before.Mean) << " / "
                << Fixed(ideal.Before.Max) << " | " << Fixed(ideal.After.Mean) << " / " << Fixed(ideal.After.Max)
                << " | " << ideal.Actions << " | " << Fixed(typical.After.Mean) << " | " << typical.Actions
                << " |\n"
                << std::flush;
    }
  }
  if (options.Json) std::cout << "[" << json << "]\n";
  if (!options.Graph.empty() && !panels.empty()) {
    std::string error;
    if (!WriteToneGraph(options.Graph, panels, error)) {
      std::cerr << error << '\n';
      return 1;
    }
  }
  return 0;
}

// The window reads and writes its data folders: keep them in a folder of
// the run's own, away from the user's curve files.
void UseTemporaryHome(const TempFolder& home) {
  for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
    setenv(variable, home.Folder().c_str(), 1);
}

}  // namespace

int main(int argc, char** argv) {
  TOptions options;
  if (!ParseOptions(argc, argv, options)) {
    Usage();
    return 2;
  }
  TempFolder home;
  UseTemporaryHome(home);
  if (options.Table) return RunTable(options);
  TDisplayModel model;
  std::string error;
  if (!ParseDisplayModel(options.Display, model, error)) {
    std::cerr << error << '\n';
    Usage();
    return 2;
  }
  if (model.Name == "display") model.Name = options.Display;
  const char* observer = options.Observer == TObserverKind::Ideal ? "ideal" : "typical";
  const TFigures figures = Measure(model, options.Target, options.Observer, options.Seed, options.Runs, options.Script);
  if (options.Json) std::cout << JsonFigures(figures, observer) << '\n';
  else PrintFigures(figures, observer);
  if (options.Levels)
    for (int v = 0; v < LevelCount; ++v)
      std::cout << "level " << v << ": before " << Fixed(figures.Before.Difference[v]) << ", after "
                << Fixed(figures.After.Difference[v]) << '\n';
  return 0;
}
