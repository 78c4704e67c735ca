#include "expr/ExprParser.h"

namespace varn {

namespace {

// Parser states. Each names the item the parser stands in; the binary
// operator states BinOp and BinExpr are one state per operator, the operator
// being kept in the stack entry.
enum State : int {
    Start,         // expression expected at the top level
    Accept,        // start .            end of input expected
    TopExpr,       // start: expression .
    UnaryExpr,     // expression: unary .
    OperandUnary,  // unary: operand .
    CallUnary,     // unary: call .
    Neg,           // unary: "-" . unary
    Pos,           // unary: "+" . unary
    NotOp,         // unary: not . unary
    NegDone,
    PosDone,
    NotDone,
    Paren,         // unary: "(" . expression ")"
    ParenExpr,
    ParenDone,
    RefOperand,    // operand: reference .
    ConstOperand,  // operand: constant .
    Num,           // constant: number .
    Str,           // constant: string .
    Ident,         // identifier . ( "(" | "[" | "." | end of reference )
    CallOpen,      // call: identifier "(" . list ")" | identifier "(" . ")"
    CallEmpty,
    CallList,
    CallDone,
    ListExpr,      // list: expression . "," list | expression .
    ListComma,
    ListMore,
    SubOpen,       // subscript: "[" . list "]"
    SubList,
    SubDone,
    IdentSub,      // reference: identifier subscript . ("." identifier)?
    IdentSubDot,
    IdentSubProp,
    IdentDot,      // reference: identifier "." . identifier
    IdentProp,
    BinOp,         // expression: expression op . expression
    BinExpr,       // expression: expression op expression .
};

enum Nonterminal { NtStart, NtExpression, NtUnary, NtOperand, NtCall, NtReference, NtConstant, NtList, NtSubscript };

// Binding strength of a binary operator token, 0 for any other token.
int precedence(int token) {
    switch (token) {
    case ExprKind::Or: return 1;
    case ExprKind::And: return 2;
    case ExprKind::Xor: return 3;
    case ExprKind::Equal: return 4;
    case ExprKind::NotEqual: return 5;
    case ExprKind::Greater: return 6;
    case ExprKind::Less: return 7;
    case ExprKind::GreaterEqual: return 8;
    case ExprKind::LessEqual: return 9;
    case ExprKind::Plus:
    case ExprKind::Minus: return 10;
    case ExprKind::Times:
    case ExprKind::Divide:
    case ExprKind::Modulo: return 11;
    default: return 0;
    }
}

// The state a token that begins a unary leads to, or -1.
int unaryStart(int token) {
    switch (token) {
    case ExprKind::Minus: return Neg;
    case ExprKind::Plus: return Pos;
    case ExprKind::Not: return NotOp;
    case '(': return Paren;
    case ExprKind::Number: return Num;
    case ExprKind::String: return Str;
    case ExprToken::Identifier: return Ident;
    default: return -1;
    }
}

// States whose only action is one reduction: no lookahead is read there.
bool reducesOnly(int state) {
    switch (state) {
    case UnaryExpr: case OperandUnary: case CallUnary: case NegDone: case PosDone: case NotDone:
    case ParenDone: case RefOperand: case ConstOperand: case Num: case Str: case CallEmpty:
    case CallDone: case ListMore: case SubDone: case IdentSubProp: case IdentProp:
        return true;
    default:
        return false;
    }
}

int gotoState(int from, int nonterminal) {
    switch (nonterminal) {
    case NtStart: return Accept;
    case NtExpression:
        if (from == Start) return TopExpr;
        if (from == Paren) return ParenExpr;
        if (from == BinOp) return BinExpr;
        return ListExpr;  // CallOpen, ListComma, SubOpen
    case NtUnary:
        if (from == Neg) return NegDone;
        if (from == Pos) return PosDone;
        if (from == NotOp) return NotDone;
        return UnaryExpr;
    case NtOperand: return OperandUnary;
    case NtCall: return CallUnary;
    case NtReference: return RefOperand;
    case NtConstant: return ConstOperand;
    case NtList:
        if (from == CallOpen) return CallList;
        if (from == ListComma) return ListMore;
        return SubList;  // SubOpen
    default: return IdentSub;  // NtSubscript, from Ident
    }
}

}  // namespace

// The action for a state that needs the lookahead. States with a reduction
// reduce on every token they cannot shift, as table parsers with default
// reductions do, so errors are found in states that only shift.
ExprParser::Action ExprParser::decide(const Entry& top, int token) const {
    auto shiftTo = [](int state) { return Action{Step::Shift, state}; };
    const Action reduce{Step::Reduce};
    const Action error{Step::Error};
    bool binary = precedence(token) > 0;
    switch (top.state) {
    case Start: case Neg: case Pos: case NotOp: case Paren: case ListComma: case SubOpen: case BinOp: {
        int next = unaryStart(token);
        return next >= 0 ? shiftTo(next) : error;
    }
    case CallOpen: {
        if (token == ')') return shiftTo(CallEmpty);
        int next = unaryStart(token);
        return next >= 0 ? shiftTo(next) : error;
    }
    case Accept: return token == ExprToken::End ? Action{Step::Accept} : error;
    case TopExpr: return binary ? shiftTo(BinOp) : reduce;
    case ParenExpr:
        if (token == ')') return shiftTo(ParenDone);
        return binary ? shiftTo(BinOp) : error;
    case Ident:
        if (token == '(') return shiftTo(CallOpen);
        if (token == '[') return shiftTo(SubOpen);
        if (token == '.') return shiftTo(IdentDot);
        return reduce;
    case CallList: return token == ')' ? shiftTo(CallDone) : error;
    case ListExpr:
        if (token == ',') return shiftTo(ListComma);
        return binary ? shiftTo(BinOp) : reduce;
    case SubList: return token == ']' ? shiftTo(SubDone) : error;
    case IdentSub: return token == '.' ? shiftTo(IdentSubDot) : reduce;
    case IdentSubDot: return token == ExprToken::Identifier ? shiftTo(IdentSubProp) : error;
    case IdentDot: return token == ExprToken::Identifier ? shiftTo(IdentProp) : error;
    case BinExpr:  // left-associative: only a tighter operator is shifted
        return precedence(token) > precedence(top.op) ? shiftTo(BinOp) : reduce;
    default: return error;
    }
}

void ExprParser::shift(int state, ExprToken& token) {
    Entry& e = stack_[depth_++];
    e.state = state;
    e.op = token.code;
    e.node = nullptr;
    e.count = 0;
    e.number = token.number;
    e.text.swap(token.text);
}

bool ExprParser::parse(ExprLexer& lexer, ExprActions& actions, ExprDiagnostics& diagnostics) {
    depth_ = 0;
    stack_[depth_++].state = Start;
    ExprToken token;
    bool haveToken = false;
    for (;;) {
        if (reducesOnly(at(0).state)) {
            reduce(actions);
            continue;
        }
        if (!haveToken) {
            lexer.next(token);
            haveToken = true;
        }
        Action action = decide(at(0), token.code);
        switch (action.step) {
        case Step::Shift:
            if (depth_ == MaxDepth) {
                diagnostics.error("pcyacc internal stack overflow");
                return false;
            }
            shift(action.state, token);
            haveToken = false;
            break;
        case Step::Reduce:
            reduce(actions);
            break;
        case Step::Accept:
            return true;
        case Step::Error:
            diagnostics.error("syntax error");
            return false;
        }
    }
}

// Applies the rule completed in the top state: pops its right-hand side,
// runs its action and enters the goto state with the result.
void ExprParser::reduce(ExprActions& actions) {
    ExprNode* result = nullptr;
    int count = 0;
    int length = 1;
    int lhs = NtExpression;
    switch (at(0).state) {
    case TopExpr:
        actions.start(at(0).node);
        lhs = NtStart;
        break;
    case UnaryExpr: result = at(0).node; lhs = NtExpression; break;
    case OperandUnary:
    case CallUnary: result = at(0).node; lhs = NtUnary; break;
    case NegDone:
    case PosDone:
    case NotDone:
        result = actions.unary(at(1).op, at(0).node);
        length = 2;
        lhs = NtUnary;
        break;
    case ParenDone: result = at(1).node; length = 3; lhs = NtUnary; break;
    case RefOperand:
    case ConstOperand: result = at(0).node; lhs = NtOperand; break;
    case Num: result = actions.number(at(0).number); lhs = NtConstant; break;
    case Str: result = actions.string(std::move(at(0).text)); lhs = NtConstant; break;
    case Ident: result = actions.name(at(0).text); lhs = NtReference; break;
    case CallEmpty: result = actions.call(at(2).text, nullptr, 0); length = 3; lhs = NtCall; break;
    case CallDone: result = actions.call(at(3).text, at(1).node, at(1).count); length = 4; lhs = NtCall; break;
    case ListExpr: result = at(0).node; count = 1; lhs = NtList; break;
    case ListMore:
        result = at(2).node;
        result->next = at(0).node;
        count = at(0).count + 1;
        length = 3;
        lhs = NtList;
        break;
    case SubDone: result = at(1).node; count = at(1).count; length = 3; lhs = NtSubscript; break;
    case IdentSub:
        result = actions.arrayElement(at(1).text, at(0).node, at(0).count);
        length = 2;
        lhs = NtReference;
        break;
    case IdentSubProp:
        result = actions.property(at(3).text, at(2).node, at(0).text);
        length = 4;
        lhs = NtReference;
        break;
    case IdentProp:
        result = actions.property(at(2).text, nullptr, at(0).text);
        length = 3;
        lhs = NtReference;
        break;
    case BinExpr:
        result = actions.binary(at(1).op, at(2).node, at(0).node);
        length = 3;
        break;
    default:
        break;
    }
    depth_ -= length;
    int op = at(0).op;
    Entry& e = stack_[depth_++];
    e.state = gotoState(at(1).state, lhs);
    e.op = op;
    e.node = result;
    e.count = count;
}

}  // namespace varn
