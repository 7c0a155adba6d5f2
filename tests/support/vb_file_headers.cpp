#include "support/vb_file_headers.h"

#include "support/vb_words.h"

#include <array>
#include <set>

namespace faultward::testing {
namespace {

struct ControlKind {
    std::string_view type;   // after "VB."
    std::string_view prefix; // of the control's name
    std::string_view event;  // with its parameter list
    std::string_view text;   // the property holding its words, if any
};

constexpr std::array<ControlKind, 7> kControls = {{
    {"CommandButton", "cmd", "Click()", "Caption"},
    {"TextBox", "txt", "KeyPress(KeyAscii As Integer)", "Text"},
    {"Label", "lbl", "DblClick()", "Caption"},
    {"CheckBox", "chk", "Click()", "Caption"},
    {"ComboBox", "cbo", "Change()", "Text"},
    {"ListBox", "lst", "DblClick()", ""},
    {"Timer", "tmr", "Timer()", ""},
}};

// Writes property lines the way the designer aligns them: the value in the
// nineteenth column after "=   ".
void property(VbText& text, int depth, std::string_view name, std::string_view value) {
    std::string line(static_cast<std::size_t>(depth) * 3, ' ');
    line += name;
    line.append(name.size() < 16 ? 16 - name.size() : 1, ' ');
    line += "=   ";
    line += value;
    text.line(line);
}

std::string quoted(std::string_view words) {
    return "\"" + std::string(words) + "\"";
}

class FormDesigner {
public:
    FormDesigner(VbText& text, SplitMix64& random) : text_(text), random_(random) {}

    void control(int depth, const ControlKind& kind) {
        const std::string name = uniqueName(kind.prefix);
        text_.line(std::string(static_cast<std::size_t>(depth) * 3, ' ') + "Begin VB." +
                   std::string(kind.type) + " " + name + " ");
        if (!kind.text.empty())
            property(text_, depth + 1, kind.text, quoted(random_.pick(kCaptions)));
        if (kind.type == "CommandButton" && tabIndex_ == 0)
            property(text_, depth + 1, "Default", "-1  'True");
        if (kind.type == "Timer") {
            property(text_, depth + 1, "Interval", std::to_string(random_.between(1, 20) * 250));
        } else {
            property(text_, depth + 1, "Height", std::to_string(random_.between(3, 12) * 95));
            property(text_, depth + 1, "Left", std::to_string(random_.between(1, 40) * 120));
            property(text_, depth + 1, "TabIndex", std::to_string(tabIndex_++));
            property(text_, depth + 1, "Top", std::to_string(random_.between(1, 30) * 120));
            property(text_, depth + 1, "Width", std::to_string(random_.between(8, 40) * 120));
        }
        endBlock(depth);
        events_.push_back(name + "_" + std::string(kind.event));
    }

    // A frame holding a few controls, one level deeper.
    void frame(int depth) {
        const std::string name = uniqueName("fra");
        text_.line(std::string(static_cast<std::size_t>(depth) * 3, ' ') + "Begin VB.Frame " +
                   name + " ");
        property(text_, depth + 1, "Caption", quoted(random_.pick(kCaptions)));
        property(text_, depth + 1, "Height", std::to_string(random_.between(10, 30) * 120));
        property(text_, depth + 1, "Left", "120");
        property(text_, depth + 1, "TabIndex", std::to_string(tabIndex_++));
        property(text_, depth + 1, "Top", std::to_string(random_.between(1, 30) * 120));
        property(text_, depth + 1, "Width", std::to_string(random_.between(20, 50) * 120));
        for (int i = random_.between(1, 3); i > 0; --i)
            control(depth + 1, random_.pick(kControls));
        endBlock(depth);
    }

    // A File menu with a couple of items, as most main windows have.
    void menu(int depth) {
        const std::string top = uniqueName("mnuFile");
        text_.line(std::string(static_cast<std::size_t>(depth) * 3, ' ') + "Begin VB.Menu " + top +
                   " ");
        property(text_, depth + 1, "Caption", "\"&File\"");
        for (const std::string_view item : {"Open", "Exit"}) {
            const std::string name = uniqueName(top + std::string(item));
            text_.line(std::string(static_cast<std::size_t>(depth + 1) * 3, ' ') +
                       "Begin VB.Menu " + name + " ");
            property(text_, depth + 2, "Caption", quoted("&" + std::string(item)));
            endBlock(depth + 1);
            events_.push_back(name + "_Click()");
        }
        endBlock(depth);
    }

    std::vector<std::string> events() && { return std::move(events_); }

private:
    std::string uniqueName(std::string_view prefix) {
        std::string name = std::string(prefix) + std::string(random_.pick(kNouns));
        for (int n = 2; !names_.insert(name).second; ++n)
            name = std::string(prefix) + std::string(random_.pick(kNouns)) + std::to_string(n);
        return name;
    }

    void endBlock(int depth) {
        text_.line(std::string(static_cast<std::size_t>(depth) * 3, ' ') + "End");
    }

    VbText& text_;
    SplitMix64& random_;
    std::set<std::string> names_;
    std::vector<std::string> events_;
    int tabIndex_ = 0;
};

void attribute(VbText& text, std::string_view name, std::string_view value) {
    text.line("Attribute VB_" + std::string(name) + " = " + std::string(value));
}

// The attributes that close the header of a form or a class.
void objectAttributes(VbText& text, std::string_view name, bool creatable, bool predeclared) {
    const auto truth = [](bool value) { return value ? "True" : "False"; };
    attribute(text, "Name", quoted(name));
    attribute(text, "GlobalNameSpace", "False");
    attribute(text, "Creatable", truth(creatable));
    attribute(text, "PredeclaredId", truth(predeclared));
    attribute(text, "Exposed", "False");
}

} // namespace

std::vector<std::string> writeFormHeader(VbText& text, std::string_view formName,
                                         std::string_view caption, SplitMix64& random) {
    text.line("VERSION 5.00");
    text.line("Begin VB.Form " + std::string(formName) + " ");
    property(text, 1, "BorderStyle", random.chance(50) ? "3  'Fixed Dialog" : "2  'Sizable");
    property(text, 1, "Caption", quoted(caption));
    property(text, 1, "ClientHeight", std::to_string(random.between(20, 60) * 120));
    property(text, 1, "ClientLeft", "45");
    property(text, 1, "ClientTop", "330");
    property(text, 1, "ClientWidth", std::to_string(random.between(30, 80) * 120));
    property(text, 1, "LinkTopic", "\"Form1\"");
    property(text, 1, "ScaleMode", "1  'Twip");
    property(text, 1, "StartUpPosition", "1  'CenterOwner");

    FormDesigner designer(text, random);
    for (int i = random.between(2, 5); i > 0; --i)
        designer.control(1, random.pick(kControls));
    designer.frame(1);
    if (random.chance(50))
        designer.menu(1);
    text.line("End");
    objectAttributes(text, formName, false, true);
    return std::move(designer).events();
}

void writeModuleHeader(VbText& text, std::string_view moduleName) {
    attribute(text, "Name", quoted(moduleName));
}

void writeClassHeader(VbText& text, std::string_view className) {
    text.line("VERSION 1.0 CLASS");
    text.line("BEGIN");
    text.line("  MultiUse = -1  'True");
    text.line("  Persistable = 0  'NotPersistable");
    text.line("  DataBindingBehavior = 0  'vbNone");
    text.line("END");
    objectAttributes(text, className, true, false);
}

} // namespace faultward::testing
