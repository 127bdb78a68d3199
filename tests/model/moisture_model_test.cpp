// The Moisture/Humidity panel's model on its own, driven as the panel drives it, with a fake
// in place of the parameter dialogs: events and texts in, what the view is told out.
#include "model/moisture_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/unit_tables.h"
#include "model/parameter_labels.h"

namespace tavimor {
namespace {

using Field = MoistureField;
using List = MoistureList;
using Saved = std::map<std::string, std::string>;

// What a parameter dialog leaves at OK: the side's values and the label suffix.
using FakeDialog = std::function<void(SideParams& side, std::string& suffix)>;

FakeDialog Gas(int row) {
  return [row](SideParams& side, std::string& suffix) {
    side.GasIndex = static_cast<int16_t>(row);
    side.MolWeight = GasTable[static_cast<std::size_t>(row)].MolWeight;
    suffix = GasLabelSuffix(row, side.MolWeight);
  };
}

constexpr const char* kFieldNames[] = {"From",      "Increment", "Measured",
                                       "ComputeAt", "Result",    "Delta"};
constexpr const char* kListNames[] = {"FromUnit", "ToUnit", "MeasuredUnit", "ComputeAtUnit"};

std::string Quoted(const std::string& text) {
  return '"' + text + '"';
}

// What the view shows, item by item: the fields, the lists, both sides' unit entries and the
// option buttons with the caption.
std::vector<std::pair<std::string, std::string>> View(const MoistureModel& m) {
  std::vector<std::pair<std::string, std::string>> view;
  for (std::size_t f = 0; f < kMoistureFieldCount; ++f) {
    view.emplace_back(kFieldNames[f], Quoted(m.text(Field(f))));
  }
  for (std::size_t l = 0; l < kMoistureListCount; ++l) {
    view.emplace_back(kListNames[l], std::to_string(m.listSelection(List(l))));
  }
  for (const auto side : {MoistureSide::From, MoistureSide::To}) {
    for (int unit = 0; unit < kMoistureUnitCount; ++unit) {
      view.emplace_back(std::string(side == MoistureSide::From ? "From" : "To") + " entry " +
                            std::to_string(unit),
                        Quoted(m.unitEntry(side, unit)));
    }
  }
  view.emplace_back("isobar", std::to_string(m.isobarChoice()) + " pressure " +
                                  std::to_string(m.pressureChoice()) +
                                  (m.computeAtEnabled() ? " enabled " : " disabled ") +
                                  Quoted(m.isobarCaption()));
  return view;
}

// The model as the panel holds it: created from saved selections, told each event.
class Driver {
 public:
  CalcSettings settings;
  MoisturePanelState state;
  std::unique_ptr<MoistureModel> model;
  std::vector<ParameterDialogRequest> opened;  // the dialogs run, in order

  // As the panel's creation: load, first recomputation, then the queued isobar command.
  MoistureChanges create(const Saved& saved = {}) {
    model = std::make_unique<MoistureModel>(settings, state);
    MoistureChanges changes = model->load([saved](std::string_view key) {
      const auto it = saved.find(std::string(key));
      return it == saved.end() ? std::string() : it->second;
    });
    changes.merge(model->start());
    changes.merge(model->isobarClicked(model->isobarChoice()));
    return changes;
  }

  // The user replaces a field's text, which the view already shows.
  MoistureChanges type(Field field, std::string_view text) {
    m_typed = field;
    if (field == Field::From) return model->fromFieldNotified(text);
    if (field == Field::Increment) return model->incrementFieldNotified(text);
    if (field == Field::Measured) return model->measuredFieldNotified(text);
    return model->computeAtFieldNotified(text);
  }

  // The user picks a list entry; a unit with a parameter runs its dialog first.
  MoistureChanges pick(List list, int index, const FakeDialog& dialog = {}) {
    if (list == List::MeasuredUnit) return model->measuredUnitPicked(index);
    if (list == List::ComputeAtUnit) return model->computeAtUnitPicked(index);
    const bool from = list == List::FromUnit;
    std::optional<ParameterDialogAnswer> answer;
    const auto side = from ? MoistureSide::From : MoistureSide::To;
    if (const auto request = model->parameterDialogFor(side, index)) {
      opened.push_back(*request);
      answer = ParameterDialogAnswer{request->Params, request->LabelSuffix};
      if (dialog) dialog(answer->Params, answer->LabelSuffix);
    }
    return from ? model->fromUnitPicked(index, answer) : model->toUnitPicked(index, answer);
  }

  // Runs an event and says what the view is told, as it will show it: the dialog run, the
  // fields written, the lists, entries and option buttons that change, the results, the
  // warning and the focus. A change the view is not told of fails the test.
  std::string run(const std::function<MoistureChanges(Driver&)>& event) {
    const MoistureModel* old = model.get();
    auto before = View(old ? *old : MoistureModel(settings, state));
    const std::size_t dialogs = opened.size();
    m_typed.reset();
    const MoistureChanges c = event(*this);
    // A panel created anew shows nothing of the one before.
    if (model.get() != old) before = View(MoistureModel(settings, state));
    const auto after = View(*model);

    std::string told;
    const auto say = [&told](const std::string& what) {
      told += (told.empty() ? "" : ", ") + what;
    };
    if (opened.size() > dialogs) {
      say(std::string("dialog ") + (opened.back().Side == MoistureSide::From ? "From " : "To ") +
          std::to_string(static_cast<int>(opened.back().Unit)));
    }
    for (const Field f : c.Fields)
      say(after[std::size_t(f)].first + " " + after[std::size_t(f)].second);
    for (std::size_t i = 0; i < after.size(); ++i) {
      const bool changed = after[i] != before[i];
      const bool isField = i < kMoistureFieldCount, isChoice = i + 1 == after.size();
      const bool announced =
          isChoice   ? c.Choices
          : !isField ? c.Lists
          : i >= std::size_t(Field::Result)
              ? c.Results
              : Field(i) == m_typed || std::count(c.Fields.begin(), c.Fields.end(), Field(i)) > 0;
      if (changed && !announced) ADD_FAILURE() << after[i].first << " changed unannounced";
      if ((changed && !isField && !isChoice) || (isChoice && c.Choices)) {
        say(after[i].first + " " + after[i].second);
      }
    }
    if (c.Results) say("result " + after[4].second + " delta " + after[5].second);
    if (c.Warning) say("warning " + Quoted(*c.Warning));
    constexpr const char* kFocus[] = {"", "focus panel", "focus From selected", "focus released"};
    if (c.Focus != MoistureFocus::Unchanged) say(kFocus[std::size_t(c.Focus)]);
    return told;
  }

 private:
  std::optional<Field> m_typed;
};

using Event = std::function<MoistureChanges(Driver&)>;

Event Create(Saved saved = {}) {
  return [saved](Driver& d) { return d.create(saved); };
}
Event Type(Field field, std::string text) {
  return [field, text](Driver& d) { return d.type(field, text); };
}
Event Pick(List list, int index, FakeDialog dialog = {}) {
  return [=](Driver& d) { return d.pick(list, index, dialog); };
}
Event Click(PressureChoice choice) {
  return [choice](Driver& d) { return d.model->pressureChoiceClicked(choice); };
}

TEST(MoistureModel, EventsTellTheViewWhatChanged) {
  struct Step {
    Event event;
    const char* told;  // nullptr: a step that sets the scene
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"created without saved selections",
       {{Create(), R"(From "0.", Measured "1013.25", ComputeAt "1013.25", FromUnit 1, ToUnit 1, )"
                   R"(MeasuredUnit 0, ComputeAtUnit 0, isobar 1014 pressure 1017 enabled " ", )"
                   R"(result "-0.0" delta "0.0")"}}},
      {"saved From values; a key that stops parsing keeps the earlier unit",
       {{Create({{"FromDew", "12.5,5"}, {"ToDew", "0,5"}}),
         R"(From "12.5", Measured "1013.25", ComputeAt "1013.25", FromUnit 5, ToUnit 5, )"
         R"(MeasuredUnit 0, ComputeAtUnit 0, isobar 1014 pressure 1017 enabled " ", )"
         R"(result "12.50" delta "0.0")"},
        {Create({{"FromDew", "12,abc"}, {"ToDew", "0,5"}}),
         R"(From "12.", Measured "1013.25", ComputeAt "1013.25", FromUnit 5, ToUnit 5, )"
         R"(MeasuredUnit 0, ComputeAtUnit 0, isobar 1014 pressure 1017 enabled " ", )"
         R"(result "12.0" delta "0.0")"},
        // Shown with 5 and 6 significant digits, and not checked against the range.
        {Create({{"FromDew", "123.456,0"}, {"FromPrs", "1013.250,0"}, {"ToDew", "0,0"}}),
         R"(From "123.46", Measured "1013.25", ComputeAt "1013.25", FromUnit 0, ToUnit 0, )"
         R"(MeasuredUnit 0, ComputeAtUnit 0, isobar 1014 pressure 1017 enabled " ", )"
         R"(result "123.5" delta "0.0")"}}},
      {"typed From values: in range, outside it, no number",
       {{Create(), nullptr},
        {Pick(List::FromUnit, 0), nullptr},
        {Pick(List::ToUnit, 5), nullptr},
        {Type(Field::From, "10"), R"(result "9967.6" delta "0.0")"},
        // "enter new val" reads as 0.
        {Type(Field::From, "500"),
         R"(From "enter new val", result "0.0" delta "0.0", )"
         R"(warning "stay between 0 and 123.4 mb.", focus From selected)"},
        {Type(Field::From, "abc"), R"(result "0.0" delta "0.0")"}}},
      {"compute at measured copies the measured pressure",
       {{Create(), nullptr},
        {Type(Field::ComputeAt, "2026.5"), nullptr},
        {Pick(List::ToUnit, 0), R"(ToUnit 0, result "12.21" delta "0.0", focus panel)"},
        {Click(kComputeAtMeasured), R"(ComputeAt "1013.25", isobar 1014 pressure 1016 disabled )"
                                    R"(" ", result "6.103" delta "0.0")"},
        {Type(Field::Measured, "500"), R"(ComputeAt "500", result "6.103" delta "0.0")"},
        {Click(kComputeAtPressure),
         R"(isobar 1014 pressure 1017 enabled " ", result "6.103" delta "0.0")"}}},
      {"pressure units re-express their field; the unit shown changes no text",
       {{Create(), nullptr},
        {Pick(List::MeasuredUnit, 1),
         R"(Measured "14.696", MeasuredUnit 1, result "-0.0" delta "0.0", focus panel)"},
        {Pick(List::MeasuredUnit, 1), R"(result "-0.0" delta "0.0", focus panel)"},
        {Click(kComputeAtMeasured), nullptr},
        // Under compute at measured the compute-at field and list follow.
        {Pick(List::MeasuredUnit, 0),
         R"(Measured "1013.25", ComputeAt "1013.25", MeasuredUnit 0, ComputeAtUnit 0, )"
         R"(result "-0.0" delta "0.0", focus panel)"},
        {Click(kComputeAtPressure), nullptr},
        {Pick(List::ComputeAtUnit, 4),
         R"(ComputeAt "101.325", ComputeAtUnit 4, result "-0.0" delta "0.0", focus panel)"},
        {Type(Field::ComputeAt, "abc"), nullptr},
        {Pick(List::ComputeAtUnit, 2),
         R"(ComputeAt "-14.696", ComputeAtUnit 2, )"
         R"(result "out of range" delta "out of range", focus panel)"}}},
      {"From unit changes re-express the value",
       {{Create(), nullptr},
        {Pick(List::FromUnit, 2),
         R"(From "32.0", FromUnit 2, result "-0.0" delta "0.0", focus released)"},
        {Type(Field::From, "40"), nullptr},
        // The same unit without parameter again: nothing converted, nothing recomputed.
        {Pick(List::FromUnit, 2), "focus panel"},
        {Pick(List::FromUnit, 5),
         R"(From "8340.6", FromUnit 5, result "4.4" delta "0.0", focus released)"},
        {Type(Field::Measured, "2026.5"), nullptr},
        {Type(Field::From, "138670"), nullptr},
        // The new text is checked against the new unit's range; the focus is released after
        // the warning all the same.
        {Pick(List::FromUnit, 0),
         R"(From "enter new val", FromUnit 0, result "out of range" delta "out of range", )"
         R"(warning "stay between 0 and 123.4 mb.", focus released)"},
        {Type(Field::Measured, "1013.25"), nullptr},
        {Pick(List::FromUnit, 3), nullptr},
        {Type(Field::From, "1e30"), nullptr},
        // The new unit cannot express it.
        {Pick(List::FromUnit, 1),
         R"(From "N/A", FromUnit 1, result "-0.0" delta "0.0", focus released)"},
        {Type(Field::Measured, "0"), nullptr},
        {Type(Field::From, "-10"), nullptr},
        // The old unit cannot convert it: no warning, and the unit changes all the same.
        {Pick(List::FromUnit, 2),
         R"(From "enter new val", FromUnit 2, result "out of range" delta "out of range", )"
         R"(focus From selected)"}}},
      {"ppm by weight twice with different gases: the same moisture each time",
       {{Create({{"FromDew", "1000,5"}, {"ToDew", "0,5"}}), nullptr},
        {Pick(List::FromUnit, 6, Gas(1)),
         R"(dialog From 6, From "620.7", FromUnit 6, From entry 6 "PPMw(mol/mol)  -  parts )"
         R"(per million by weight  in Air MW=29", result "1000.0" delta "0.0", focus released)"},
        {Pick(List::FromUnit, 6, Gas(8)),
         R"(dialog From 6, From "4500.1", From entry 6 "PPMw(mol/mol)  -  parts per million )"
         R"(by weight  in Helium MW=4", result "1000.0" delta "0.0", focus released)"}}},
      {"an entry's choice goes with another pick",
       {{Create(), nullptr},
        {Pick(List::ToUnit, 6, Gas(0)),
         R"(dialog To 6, ToUnit 6, To entry 6 "PPMw(mol/mol)  -  parts per million by weight  )"
         R"(in Acetylene MW=26", result "4195.4" delta "0.0", focus panel)"},
        {Pick(List::ToUnit, 5),
         R"(ToUnit 5, To entry 6 "PPMw(mol/mol)  -  parts per million by weight | choose )"
         R"(gas...", result "6060.1" delta "0.0", focus panel)"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Driver d;
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      SCOPED_TRACE(i);
      const std::string told = d.run(c.steps[i].event);
      if (c.steps[i].told) {
        EXPECT_EQ(told, c.steps[i].told);
      }
    }
  }
}

// The texts typed reach the conversion, and each parameter dialog's answer reaches its side:
// 20 °C dew point in every unit with a parameter, the dialogs left as they opened.
TEST(MoistureModel, TypedTextsAndDialogAnswersReachTheResult) {
  struct Case {
    const char* increment;
    int toUnit;
    const char* measured;
    const char* computeAt;
    const char* result;
    const char* delta;
  };
  constexpr const char* kP = "1013.25";
  const Case cases[] = {{"", 6, kP, kP, "14646.4", "0.0"},
                        {"", 8, kP, kP, "17.63", "0.0"},
                        {"", 9, kP, kP, "100.0", "0.0"},
                        {"", 10, kP, kP, "44.38", "0.0"},
                        {"1", 5, kP, kP, "23597.0", "1539.7"},
                        {"", 0, kP, "2026.5", "46.72", "0.0"},
                        {"", 5, "0", kP, "out of range", "out of range"}};
  std::vector<int> dialogUnits;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.toUnit));
    Driver d;
    d.create();
    d.pick(List::FromUnit, 3);
    d.pick(List::ToUnit, c.toUnit);
    d.type(Field::From, "20");
    d.type(Field::Increment, c.increment);
    d.type(Field::Measured, c.measured);
    d.type(Field::ComputeAt, c.computeAt);
    EXPECT_EQ(d.model->text(Field::Result), c.result);
    EXPECT_EQ(d.model->text(Field::Delta), c.delta);
    for (const ParameterDialogRequest& r : d.opened) {
      EXPECT_EQ(r.Side, MoistureSide::To);
      dialogUnits.push_back(static_cast<int>(r.Unit));
    }
  }
  EXPECT_EQ(dialogUnits, (std::vector<int>{6, 8, 9, 10}));
}

std::string Repeated(const std::string& text, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) repeated += text;
  return repeated;
}

TEST(MoistureModel, ClipboardListConvertsEachLineAsTyped) {
  struct Case {
    const char* name;
    std::string text;
    std::string output;
    const char* warned;  // From, result and warning as each warning is shown
    const char* fromAfter;
  };
  const Case cases[] = {
      {"two lines", "10\r\n20\r\n", "9967.6\n20135.9\n", "", "20"},
      {"a blank line converts 0", "10\n\n", "9967.6\n0.0\n", "", ""},
      {"no line: the fields stay", "", "", "", "6.103"},
      // The warning is shown with its line, before the next line converts.
      {"a line outside the range", "500\r\n10\r\n", "0.0\n9967.6\n",
       "enter new val 0.0 stay between 0 and 123.4 mb.;", "10"},
      {"ten thousand lines in order", Repeated("10\r\n20\r\n", 5000),
       Repeated("9967.6\n20135.9\n", 5000), "", "20"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Driver d;
    d.create();
    d.pick(List::FromUnit, 0);
    d.pick(List::ToUnit, 5);
    std::string warned;
    const ClipboardListConversion conversion =
        d.model->convertClipboardList(c.text, [&](const MoistureChanges& changes) {
          warned += d.model->text(Field::From) + " " + d.model->text(Field::Result) + " " +
                    changes.Warning.value_or("none") + ";";
        });
    EXPECT_FALSE(conversion.Refusal);
    EXPECT_EQ(conversion.Output, c.output);
    EXPECT_EQ(warned, c.warned);
    EXPECT_FALSE(conversion.Changes.Warning);
    EXPECT_EQ(d.model->text(Field::From), c.fromAfter);
  }
}

}  // namespace
}  // namespace tavimor
