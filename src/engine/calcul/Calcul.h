#pragma once
// TCalcul evaluates the expressions of a part program: assignments to &variables,
// argument expressions and IF conditions. Every value is a text; numbers are decimal
// text, and a string result handed to a caller is wrapped in double quotes. Within a
// chain of arithmetic operators the values go from one operator to the next as the
// numbers their texts would read back as, and only the chain's result is written.
//
// Errors never leave the object: the first error of a calculation is kept (Error,
// ErrorText) and a failed Calculate leaves the caller's result untouched.
//
// One object lives for the whole program; its variables persist from line to line.
// The parsed form of each formula is kept, keyed by its text, and used again when the
// same text comes back (a program's loops evaluate the same arguments again and
// again); parsing depends on nothing but the text, so a kept tree gives what a fresh
// parse would. Compiling reuses the node pool and scratch texts of earlier calls, so
// calculating a short expression allocates next to nothing.

#include "engine/calcul/CalculTokens.h"
#include "engine/calcul/CalculVariables.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// One parse-tree node. Operands are indexes into the owner's pool; 0 means none.
struct TCalculNode {
    int Index = 0;
    int Op = 0;
    std::string Text; // literal text, variable name or function token ("sin(")
    int Left = 0;     // a function call keeps its argument here
    int Right = 0;
    calc::Kind Kind = calc::kindUnset;
    calc::Kind OpKind = calc::kindUnset; // OperationKind(Op), stamped on Kind when evaluated
    // An arithmetic operator (+ - * / ^) whose chain down its left operands holds no
    // other operator: its chain can be worked with numbers instead of texts.
    bool NumericChain = false;
    // A number literal: whether its text reads as a number, and the value it reads as.
    bool LiteralOk = false;
    long double Literal = 0;
};

// An operand of an arithmetic operator as its text would be read when the operator
// takes it: the number the text read as, an operator's own result kept unwritten (its
// text is WriteCalcNumber(Value)), or a text that reads as no number, kept by the
// calculator for the error the operator records when it takes it.
struct TCalcNumber {
    enum TState : unsigned char { Read, Raw, Bad };
    long double Value = 0;
    TState State = Read;
    int BadText = 0; // index into the calculator's bad operand texts
};

class TCalcul {
public:
    TCalcul();
    TCalcul(const TCalcul&) = delete;
    TCalcul& operator=(const TCalcul&) = delete;

    // The expression to calculate; "0" after construction. Calculate strips trailing
    // blanks and ";" from it.
    std::string Formula = "0";

    // Calculates Formula. True on success: `result` receives the value (a string value
    // in double quotes). False on failure: `result` is left as it was.
    bool Calculate(std::string& result);

    bool Error() const { return FError; }
    const std::string& ErrorText() const { return FErrorText; }
    // 1 number, 2 string, 0 before the first calculation. After a failed calculation:
    // 2 when the formula held a double quote, else 1.
    int ResultKind() const { return FResultKind; }

    TCalculVariables& GetVariables() { return FVariables; }
    const TCalculVariables& GetVariables() const { return FVariables; }
    std::string GetVariablesText() const { return FVariables.Text(); }
    void SetVariablesText(std::string_view text) { FVariables.SetText(text); }

    // The argument stack of multi-argument calls, top last (cleared by Calculate).
    const std::vector<std::string>& ArgStack() const { return FArgStack; }

    // "," reads as "."; a text that is no complete number gives 0 and records
    // "Error, convert to numeric value:" + text.
    long double TextToNumber(std::string_view text);
    // 0 when an error is already recorded; otherwise the number nudged by 1e-7 away
    // from zero and truncated. Values outside the 32-bit range (and NaN) give
    // -2147483648.
    int NumberToInt(std::string_view text);
    // 12 decimals, trailing zeros stripped; "Nan", "+Inf", "-Inf".
    static std::string NumberToText(long double value);

    // How deep calculators may nest through "eval(" and ":=" definitions.
    static constexpr int kMaxNestedCalculators = 32;
    // How deep parentheses and function calls may nest in one formula.
    static constexpr int kMaxParenDepth = 256;
    // How deep the evaluation may recurse through the parse tree.
    static constexpr int kMaxEvalDepth = 2000;
    // How many parsed formulas, and nodes in all, are kept for reuse; past either the
    // kept ones are dropped and keeping starts afresh.
    static constexpr std::size_t kMaxKeptFormulas = 4096;
    static constexpr int kMaxKeptNodes = 1 << 15;
    // Machine stack one outermost calculation may use, nested calculators included;
    // beyond it parsing and evaluation stop with "Invalid expression".
    static constexpr std::size_t kStackBudget = 2 * 1024 * 1024;

private:
    explicit TCalcul(int nestLevel);

    // The first-error rule: later messages are ignored; an empty one is "invalid formule".
    void SetError(std::string_view message);
    void ClearError();

    // Quotes a string value for the caller unless it is already quoted.
    static void ResultText(std::string& value, calc::Kind kind);
    // Calculates Formula into the bare value (strings unquoted) and its kind.
    bool CalculateValue(std::string& value, calc::Kind& kind);

    // Tokenizer.
    int NextToken();
    void ReadNumber(std::size_t& pos);
    void ReadName();
    // Parser.
    void Compile(std::string_view text);
    // Finds the kept tree of Formula or compiles it (keeping it when it may be reused).
    void PrepareTree();
    void DropKeptTrees();
    int ParseExpression();
    int ParseTerm();
    int ParseFactor();
    bool NextIsClose() const;
    int NewNode(int op, std::string_view text, int left, int right);
    void FreeTree();

    // Evaluation.
    // The checks before a node is evaluated (an error recorded, the node, the depth and
    // the stack); true when it may be, with the depth counted and its kind stamped.
    bool EnterNode(int index);
    void Evaluate(int node, std::string& out);
    // Negation (and the error for a code without a rule).
    void EvaluateOperator(TCalculNode& node, std::string& out);
    void EvaluateChain(int top, std::string& out);
    // The same for a numeric chain and for negation, with numbers between operators.
    void EvaluateNumericChain(int top, TCalcNumber& out);
    void EvaluateNegation(TCalculNode& node, TCalcNumber& out);
    // What Evaluate gives for the node, as the operand of an arithmetic operator.
    void EvaluateNumber(int index, TCalcNumber& out);
    bool NumberBeforeLeftOperand(TCalculNode& node, TCalcNumber& right, TCalcNumber& value);
    void ApplyNumberOperator(TCalculNode& node, TCalcNumber& value, TCalcNumber& right);
    // The operand's number as TextToNumber reads its text, recording the same error.
    long double TakeNumber(TCalcNumber& operand);
    static void SetRaw(TCalcNumber& operand, long double value);
    // What an operator does before its left operand: true when that settles its value.
    bool BeforeLeftOperand(TCalculNode& node, std::string& right, std::string& value);
    void ApplyOperator(TCalculNode& node, std::string& value, const std::string& right);
    void EvaluateVariable(TCalculNode& node, std::string& out);
    void EvaluateDefinition(TCalculNode& node, int line, std::string& out);
    void PushArgument(const std::string& value);
    // Runs `formula` in a nested calculator on a copy of the variables (changes it
    // makes to them are lost); false, with an empty value, when it fails.
    bool CalculateNested(std::string_view formula, std::string& value, calc::Kind& kind);

    // Functions.
    void EvaluateFunction(TCalculNode& node, std::string& out);
    void EvaluateMultiArgFunction(TCalculNode& node, std::string& out);
    void EvaluateAggregate(int code, std::string& out);
    void ApplyMultiArgFunction(int code, const std::string* args, int count, std::string& out);

    bool FError = false;
    std::string FErrorText;
    int FResultKind = 0;
    TCalculVariables FVariables;
    std::vector<std::string> FArgStack;

    // Node pool: entry 0 is never used, live nodes occupy 1..FNodeCount: first the kept
    // trees (1..FKeptNodes), then the tree compiled last when it is not kept. Slots
    // beyond the count keep their text buffers for the next compile.
    std::vector<TCalculNode> FNodes;
    int FNodeCount = 0;
    int FKeptNodes = 0;
    int FRoot = 0;
    // Formula text -> root of its kept tree. Only the outermost calculator keeps trees
    // (a nested one lives for one call).
    std::unordered_map<std::string, int> FKept;
    const std::pair<const std::string, int>* FLastKept = nullptr; // the entry used last

    // Tokenizer and parser state.
    std::string_view FText;
    std::size_t FPosition = 0; // 0-based read position in FText
    int FPrevToken = 0;
    int FCurToken = 0;
    int FToken = 0; // the token last read, end of text included
    std::string FTokenText;
    std::string FLowerName;
    int FParenDepth = 0;

    std::string FWrapped; // the formula after WrapFunctionArgs
    std::string FValue;   // the value of the last calculation, before the caller's copy
    // Compiling is free of side effects unless the text defines a name with ":=": a
    // tree with such a definition is compiled afresh every time.
    bool FMadeDefinition = false;

    // The operators of the chain being evaluated, outermost first, with the right
    // operands taken before the left ones; shared by nested chains as a stack.
    struct TChainStep {
        int Node;
        std::string Right;
    };
    std::vector<TChainStep> FChain;
    struct TNumberStep {
        int Node;
        TCalcNumber Right;
    };
    std::vector<TNumberStep> FNumberChain;
    // Operand texts of the calculation that read as no number (TCalcNumber::Bad).
    std::vector<std::string> FBadTexts;
    std::string FOperandText; // a variable's value read as an operand
    // Marks `operand` bad with `text` (moved from).
    void SetBad(TCalcNumber& operand, std::string& text);

    bool StackExhausted() const
    {
        const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
        const std::uintptr_t used = FStackBase > here ? FStackBase - here : here - FStackBase;
        return used > kStackBudget;
    }
    std::uintptr_t FStackBase = 0; // frame address of the outermost calculation
    int FEvalDepth = 0;
    int FNestLevel = 0; // 0 for the caller's calculator, n for the n-th nested one
    // Set when nesting or stack use ran away; unlike other failures of a nested
    // calculation it fails the enclosing ones too.
    bool FRunaway = false;
};
