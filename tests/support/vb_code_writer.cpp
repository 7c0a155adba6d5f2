#include "support/vb_code_writer.h"

#include "support/vb_words.h"

#include <array>
#include <set>
#include <string_view>

namespace faultward::testing {
namespace {

// The five ways a line can begin a Sub the tool gives a handler.
constexpr std::array<std::string_view, 5> kSubPrefixes = {
    "Sub ", "Public Sub ", "Private Sub ", "Friend Sub ", "Static Sub ",
};
constexpr std::size_t kFriend = 3;

constexpr std::array<std::string_view, 4> kParameters = {
    "",
    "ByVal id As Long",
    "name As String, Optional ByVal quiet As Boolean = False",
    "ByRef items() As Variant",
};

// Everything a file is built from besides its ordinary Subs.
enum class Piece {
    ContinuedHead,
    OneLineSub,
    StaticLookAlike,
    LookAlikeEnd,
    Function,
    Property,
    OwnErrorHandler,
    CommentBlock,
};
constexpr std::array<Piece, 8> kPieces = {
    Piece::ContinuedHead, Piece::OneLineSub, Piece::StaticLookAlike, Piece::LookAlikeEnd,
    Piece::Function,      Piece::Property,   Piece::OwnErrorHandler, Piece::CommentBlock,
};

// One entry of the deck a file's procedures are dealt from: an ordinary Sub
// with the prefix at `prefix`, or a piece.
struct Card {
    bool isSub = false;
    std::size_t prefix = 0;
    Piece piece = Piece::CommentBlock;
};

class CodeWriter {
public:
    CodeWriter(VbText& text, const CodeOptions& options, SplitMix64& random)
        : text_(text), options_(options), random_(random) {}

    void write() {
        text_.line("Option Explicit");
        text_.blank();
        declarations();
        text_.blank();
        firstProcedure();
        std::vector<Card> deck;
        while (text_.lines < options_.targetLines) {
            if (deck.empty())
                deck = freshDeck();
            play(deck.back());
            deck.pop_back();
        }
    }

private:
    std::vector<Card> freshDeck() {
        std::vector<Card> deck;
        for (std::size_t prefix = 0; prefix < kSubPrefixes.size(); ++prefix)
            if (prefix != kFriend || options_.kind != ModuleKind::Standard)
                deck.push_back({true, prefix, {}});
        for (const Piece piece : kPieces)
            deck.push_back({false, 0, piece});
        // Ordinary Subs are most of real code.
        for (int i = 0; i < 4; ++i)
            deck.push_back({true, random_.below(3), {}});
        random_.shuffle(deck);
        return deck;
    }

    void play(const Card& card) {
        if (card.isSub) {
            ordinarySub(kSubPrefixes[card.prefix]);
            return;
        }
        // In the order of Piece.
        static constexpr std::array<void (CodeWriter::*)(), kPieces.size()> kWriters = {
            &CodeWriter::continuedHead,   &CodeWriter::oneLineSub,   &CodeWriter::staticLookAlike,
            &CodeWriter::lookAlikeEnd,    &CodeWriter::function,     &CodeWriter::property,
            &CodeWriter::ownErrorHandler, &CodeWriter::commentBlock,
        };
        (this->*kWriters[static_cast<std::size_t>(card.piece)])();
    }

    void declarations() {
        if (options_.kind == ModuleKind::Standard) {
            text_.line("Public Declare Sub Sleep Lib \"kernel32\" (ByVal dwMilliseconds As Long)");
            text_.line("Declare Sub CopyMemory Lib \"kernel32\" Alias \"RtlMoveMemory\" "
                       "(Destination As Any, Source As Any, ByVal Length As Long)");
        } else {
            text_.line("Private Declare Sub Sleep Lib \"kernel32\" (ByVal dwMilliseconds As Long)");
        }
        text_.line("Private Declare Function GetTickCount Lib \"kernel32\" () As Long");
        text_.line("Private Const TITLE As String = \"" +
                   std::string(random_.pick(kEightBitWords)) + "\"");
        text_.line("Private mValue As Variant");
        text_.line("Private mCount As Long");
    }

    // Every file has a Sub for the tool to change.
    void firstProcedure() {
        if (options_.holdsMain) {
            text_.line("Sub Main()");
            text_.line("    frmMain.Show");
            text_.line("End Sub");
        } else if (options_.kind == ModuleKind::Form) {
            text_.line("Private Sub Form_Load()");
            body("Sub");
            text_.line("End Sub");
        } else {
            ordinarySub("Public Sub ");
            return;
        }
        text_.blank();
    }

    // A form's next control event when the prefix suits one, else a made-up name.
    std::string head(std::string_view prefix) {
        if (prefix == "Private Sub " && nextEvent_ < options_.events.size())
            return std::string(prefix) + options_.events[nextEvent_++];
        return std::string(prefix) + newName() + "(" + std::string(random_.pick(kParameters)) + ")";
    }

    std::string_view anyPrefix() {
        const std::size_t prefix = random_.below(kSubPrefixes.size());
        return kSubPrefixes[prefix == kFriend && options_.kind == ModuleKind::Standard ? 0
                                                                                       : prefix];
    }

    void ordinarySub(std::string_view prefix) {
        text_.line(head(prefix));
        body("Sub");
        text_.line("End Sub");
        text_.blank();
    }

    void continuedHead() {
        const std::string_view prefix = anyPrefix();
        const std::string name = newName();
        const std::string indent(prefix.size() + name.size() + 1, ' ');
        text_.line(std::string(prefix) + name + "(ByVal first As Long, _");
        if (random_.chance(50))
            text_.line(indent + "ByVal second As String, _");
        text_.line(indent + "Optional ByVal quiet As Boolean = False)");
        body("Sub");
        text_.line("End Sub");
        text_.blank();
    }

    void oneLineSub() {
        static constexpr std::array<std::string_view, 3> kStatements = {"Beep", "DoEvents",
                                                                        "mCount = mCount + 1"};
        std::string line = std::string(anyPrefix()) + newName() +
                           "(): " + std::string(random_.pick(kStatements)) + ": End Sub";
        if (random_.chance(30))
            line += " ' one line";
        text_.line(line);
        text_.blank();
    }

    // Not a head, yet its end is an end.
    void staticLookAlike() {
        text_.line(std::string(random_.chance(50) ? "Private" : "Public") + " Static Sub " +
                   newName() + "()");
        body("Sub");
        text_.line("End Sub");
        text_.blank();
    }

    // A Sub closed by a line that only looks like an end: indented, or in
    // lower case as editors other than the IDE leave it.
    void lookAlikeEnd() {
        text_.line(head(anyPrefix()));
        body("Sub");
        text_.line(random_.chance(50) ? "  End Sub" : "end sub");
        text_.blank();
    }

    void function() {
        static constexpr std::array<std::string_view, 4> kPrefixes = {
            "Function ", "Public Function ", "Private Function ", "Static Function "};
        const std::string name = newName();
        text_.line(std::string(random_.pick(kPrefixes)) + name + "(ByVal amount As Long) As Long");
        body("Function");
        text_.line("    " + name + " = amount + mCount");
        text_.line("End Function");
        text_.blank();
    }

    void property() {
        const std::string name =
            "Current" + std::string(random_.pick(kNouns)) + std::to_string(properties_++);
        const std::string scope = random_.chance(70) ? "Public" : "Private";
        text_.line(scope + " Property Get " + name + "() As Variant");
        text_.line("    If IsEmpty(mValue) Then Exit Property");
        text_.line("    " + name + " = mValue");
        text_.line("End Property");
        text_.blank();
        text_.line(scope + " Property Let " + name + "(ByVal value As Variant)");
        text_.line("    mValue = value");
        text_.line("End Property");
        text_.blank();
        text_.line(scope + " Property Set " + name + "(ByVal value As Object)");
        text_.line("    Set mValue = value");
        text_.line("End Property");
        text_.blank();
    }

    // The developer's own handling, which the tool's handlers must live beside.
    // Many projects name the label as the tool would, in their own letter case.
    void ownErrorHandler() {
        const std::string line = head("Private Sub ");
        const std::size_t name = line.find("Sub ") + 4;
        const std::string label = random_.chance(40)
                                      ? "Err_" + line.substr(name, line.find('(') - name)
                                      : std::string(random_.pick(kVerbs)) + "Failed";
        text_.line(line);
        text_.line("    On Error GoTo " + label);
        body("Sub");
        text_.line("    Exit Sub");
        text_.line(label + ":");
        text_.line("    MsgBox \"" + std::string(random_.pick(kEightBitWords)) +
                   ": \" & Err.Description, vbExclamation, TITLE");
        text_.line("End Sub");
        text_.blank();
    }

    void commentBlock() {
        const std::string rule = "'" + std::string(60, '-');
        text_.line(rule);
        text_.line("' Sub " + std::string(random_.pick(kVerbs)) +
                   std::string(random_.pick(kNouns)) + " was here; its End Sub went with it.");
        text_.line("' " + std::string(random_.pick(kEightBitWords)));
        text_.line(rule);
        text_.blank();
    }

    // Statements of a procedure, with Exit statements for its kind.
    void body(std::string_view kind) {
        text_.line("    Dim n As Long");
        text_.line("    Dim s As String");
        for (int i = random_.between(2, 7); i > 0; --i)
            statement(kind);
    }

    void statement(std::string_view kind) {
        const std::string word = '"' + std::string(random_.pick(kEightBitWords)) + '"';
        switch (random_.below(11)) {
        case 0:
            text_.line("    n = n + mCount * " + std::to_string(random_.between(2, 9)));
            break;
        case 1:
            text_.line("    If n > " + std::to_string(random_.between(10, 99)) + " Then");
            text_.line("        n = 0");
            text_.line("    End If");
            break;
        case 2:
            text_.line("    If n = 0 Then Exit " + std::string(kind));
            break;
        case 3:
            text_.line("    For n = 1 To " + std::to_string(random_.between(2, 50)));
            text_.line("        s = s & " + word);
            text_.line("    Next n");
            break;
        case 4:
            text_.line("    ' " + std::string(random_.pick(kEightBitWords)));
            break;
        case 5:
            text_.line("    s = " + word);
            break;
        case 6:
            text_.line(random_.chance(50) ? "    s = \"End Sub\""
                                          : "    Debug.Print \"Private Sub \" & s");
            break;
        case 7:
            text_.line(random_.chance(50) ? "    ' Sub " + newName() + " does the rest"
                                          : "    'End Sub");
            break;
        case 8:
            text_.line("    Select Case n");
            text_.line("    Case 1");
            text_.line("        s = TITLE");
            text_.line("    Case Else");
            text_.line("        Exit " + std::string(kind));
            text_.line("    End Select");
            break;
        case 9:
            text_.line("    On Error Resume Next");
            text_.line("    Kill s");
            text_.line("    On Error GoTo 0");
            break;
        default:
            text_.line("    MsgBox " + word + " & n, vbInformation, TITLE");
            break;
        }
    }

    std::string newName() {
        std::string name = std::string(random_.pick(kVerbs)) + std::string(random_.pick(kNouns));
        for (int n = 2; !names_.insert(name).second; ++n)
            name = std::string(random_.pick(kVerbs)) + std::string(random_.pick(kNouns)) +
                   std::to_string(n);
        return name;
    }

    VbText& text_;
    const CodeOptions& options_;
    SplitMix64& random_;
    std::set<std::string> names_;
    std::size_t nextEvent_ = 0;
    int properties_ = 0;
};

} // namespace

void writeCode(VbText& text, const CodeOptions& options, SplitMix64& random) {
    CodeWriter(text, options, random).write();
}

} // namespace faultward::testing
