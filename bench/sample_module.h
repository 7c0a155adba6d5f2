#pragma once

#include "rewrite/transforms.h"

#include <string>

// A large module (128 KiB, within the line limit) in the shape real projects
// have: short lines, a Sub every twenty lines, CR LF breaks; with handlers in
// mode 0 when asked.
inline std::string sampleModule(bool withHandlers) {
    std::string text;
    int procedure = 0;
    while (text.size() < (128u << 10)) {
        text += "Private Sub Proc" + std::to_string(procedure++) + "_Click(Index As Integer)\r\n";
        for (int i = 0; i < 18; ++i)
            text += (i % 3 == 0) ? "    Total = Total + i * Rate\r\n" : "    ' running figures\r\n";
        text += "End Sub\r\n";
    }
    if (!withHandlers)
        return text;
    std::string name;
    faultward::OutputPieces out;
    faultward::insertHandlers(text, faultward::HandlingMode::ShowMessage, name, out);
    return out.joined();
}
