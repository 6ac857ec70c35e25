// The parser of TCalcul: three levels, all binary operators left-associative.
//   Expression: Term { ("+" | "-") Term }
//   Term:       ["-"] ["+"] Factor { ("*" | "/" | div mod | and or = < <= > >= <> like
//               wildcard , ;) Factor }
//   Factor:     "(" Expression | literal | name | function "(" Expression, then
//               { "^" exponent }
// The comparison and logic operators share the level of "*", so 1+2=3 is 1+(2=3).

#include "engine/calcul/Calcul.h"

#include "engine/calcul/CalculFunctionNames.h"
#include "engine/calcul/CalculNumberText.h"
#include "engine/calcul/CalculWrapArgs.h"

#include <algorithm>

using namespace calc;

namespace {

bool IsLeafToken(int token) { return token == tkNumber || token == tkString || token == tkName; }
bool IsFunctionToken(int token) { return token >= 11 && token <= 199; }
bool IsTermOperator(int token) { return token == tkTimes || token == tkDivide || (token >= 200 && token <= 255); }

} // namespace

int TCalcul::NewNode(int op, std::string_view text, int left, int right)
{
    ++FNodeCount;
    if (FNodeCount >= static_cast<int>(FNodes.size())) {
        // Doubling: a formula of 100,000 terms would otherwise move the pool thousands of times.
        FNodes.resize(FNodes.size() + std::max<std::size_t>(50, FNodes.size()));
    }
    TCalculNode& node = FNodes[static_cast<std::size_t>(FNodeCount)];
    node.Index = FNodeCount;
    node.Op = op;
    node.Text.assign(text);
    node.Left = left;
    node.Right = right;
    node.Kind = kindUnset;
    node.OpKind = OperationKind(op);
    // Operands come before their operator, so the left one's chain is known.
    const TCalculNode* leftNode = left > 0 ? &FNodes[static_cast<std::size_t>(left)] : nullptr;
    node.NumericChain = IsNumberOperator(op)
        && (leftNode == nullptr || !IsBinaryOperator(leftNode->Op) || leftNode->NumericChain);
    node.LiteralOk = op == tkNumber && ReadCalcNumber(node.Text, node.Literal);
    return FNodeCount;
}

void TCalcul::FreeTree()
{
    // Slots stay allocated (with their text buffers) for the next compile; the kept
    // trees stay as they are.
    FNodeCount = FKeptNodes;
    FRoot = 0;
}

void TCalcul::DropKeptTrees()
{
    FKept.clear();
    FLastKept = nullptr;
    FKeptNodes = 0;
    FNodeCount = 0;
    FRoot = 0;
}

void TCalcul::PrepareTree()
{
    if (FNestLevel == 0) {
        // The same formula as the last time needs no hash (a loop over one argument).
        if (FLastKept == nullptr || FLastKept->first != Formula) {
            const auto kept = FKept.find(Formula);
            FLastKept = kept != FKept.end() ? &*kept : nullptr;
        }
        if (FLastKept != nullptr) {
            FRoot = FLastKept->second;
            FNodes[static_cast<std::size_t>(FRoot)].Kind = static_cast<Kind>(FResultKind);
            return;
        }
    }
    std::string_view text = Formula;
    if (Formula.find(',') != std::string::npos) {
        if (!WrapFunctionArgs(Formula, FWrapped)) {
            SetError("Invalid expression");
            return;
        }
        text = FWrapped;
    }
    if (FKept.size() >= kMaxKeptFormulas || FKeptNodes >= kMaxKeptNodes) {
        DropKeptTrees();
    }
    Compile(text);
    if (FNestLevel == 0 && FRoot != 0 && !FError && !FMadeDefinition) {
        FKeptNodes = FNodeCount;
        FLastKept = &*FKept.emplace(Formula, FRoot).first;
    }
}

void TCalcul::Compile(std::string_view text)
{
    ClearError();
    FreeTree();
    FMadeDefinition = false;
    FText = text;
    FPrevToken = 0;
    FCurToken = 0;
    FToken = 0;
    FPosition = 0;
    FParenDepth = 0;
    FRoot = ParseExpression();
    if (FRoot != 0) {
        FNodes[static_cast<std::size_t>(FRoot)].Kind = static_cast<Kind>(FResultKind);
    }
    if (FParenDepth != 0 || FError) {
        FreeTree();
    }
}

int TCalcul::ParseExpression()
{
    int node = ParseTerm();
    if (node == 0) {
        return 0;
    }
    for (;;) {
        if (FToken == tkEnd) {
            return node;
        }
        if (FToken == tkClose) {
            --FParenDepth;
            return node;
        }
        if (FToken != tkPlus && FToken != tkMinus) {
            SetError("Invalid expression");
            return 0;
        }
        const int op = FToken;
        const int right = ParseTerm();
        if (right == 0) {
            return 0;
        }
        node = NewNode(op, {}, node, right);
    }
}

int TCalcul::ParseTerm()
{
    NextToken();
    bool negate = false;
    if (FToken == tkMinus &&
        (FPrevToken == tkEnd || FPrevToken == tkOpen || FPrevToken == tkPlus || FPrevToken == tkMinus)) {
        negate = true;
        NextToken();
    }
    if (FToken == tkPlus) {
        NextToken();
    }
    int node = ParseFactor();
    if (node == 0) {
        return 0;
    }
    while (IsTermOperator(FToken)) {
        const int op = FToken;
        NextToken();
        const int right = ParseFactor();
        if (right == 0) {
            return 0;
        }
        node = NewNode(op, {}, node, right);
    }
    if (negate) {
        node = NewNode(tkNegate, {}, node, 0);
    }
    return node;
}

bool TCalcul::NextIsClose() const
{
    std::size_t pos = FPosition;
    while (pos < FText.size() && (static_cast<unsigned char>(FText[pos]) <= 13 || FText[pos] == ' ')) {
        ++pos;
    }
    return pos < FText.size() && FText[pos] == ')';
}

int TCalcul::ParseFactor()
{
    if (FError) {
        return 0;
    }
    if (StackExhausted()) {
        FRunaway = true;
        SetError("Invalid expression");
        return 0;
    }
    int node = 0;
    if (FToken == tkOpen) {
        if (++FParenDepth > kMaxParenDepth) {
            SetError("Invalid expression");
            return 0;
        }
        node = ParseExpression();
        if (node == 0) {
            return 0;
        }
    } else if (IsLeafToken(FToken)) {
        node = NewNode(FToken, FTokenText, 0, 0);
    } else if (IsFunctionToken(FToken)) {
        const int code = FToken;
        const int textNode = NewNode(code, FTokenText, 0, 0);
        NextToken();
        if (FToken != tkOpen) {
            SetError("invalid formule");
            return 0;
        }
        if (IsMultiArgFunction(code) && NextIsClose()) {
            // "maxval()": a call without arguments, which the call itself reports.
            NextToken();
            node = textNode;
        } else {
            if (++FParenDepth > kMaxParenDepth) {
                SetError("Invalid expression");
                return 0;
            }
            const int argument = ParseExpression();
            if (argument == 0) {
                return 0;
            }
            FNodes[static_cast<std::size_t>(textNode)].Left = argument;
            node = textNode;
        }
    } else {
        SetError("? operand ");
        return 0;
    }
    NextToken();
    while (FToken == tkPower) {
        NextToken();
        int exponent = 0;
        if (IsLeafToken(FToken)) {
            exponent = NewNode(FToken, FTokenText, 0, 0);
        } else if (FToken == tkOpen) {
            NextToken();
            if (!IsLeafToken(FToken)) {
                SetError("Invalid values");
                return 0;
            }
            exponent = NewNode(FToken, FTokenText, 0, 0);
            NextToken();
            if (FToken != tkClose) {
                SetError("invalid formule");
                return 0;
            }
        } else {
            SetError("Invalid values");
            return 0;
        }
        node = NewNode(tkPower, {}, node, exponent);
        NextToken();
    }
    return node;
}
