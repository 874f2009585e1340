#pragma once
// A compact S-expression dump of a syntax tree, for tests that check tree shape and precedence.
//
// Format:
//   none                 nil
//   identifier           its name, bare:                x
//   integer literal      decimal:                       -1
//   floating literal     always with a point:           1.5   2.0
//   string literal       double-quoted; \" \\ and \xHH for bytes below 32 or above 126
//   inner node           (name child ...), every child of its kind in order, nil included:
//     varlist decl seq if for while return break continue comma neg not compl
//     assign add-assign sub-assign mul-assign div-assign mod-assign and-assign or-assign
//     xor-assign shl-assign shr-assign pre-inc pre-dec post-inc post-dec
//     eq ne lt le ge gt add sub mul div mod bit-and bit-or bit-xor and or shl shr cond new member index
//   calls                (call NAME ARG ...), (ctor NAME ARG ...), (method OBJECT NAME ARG ...)
// Example: "x = a - b + c;" gives (seq (seq (assign x (add (sub a b) c)) nil) nil).
// A function dumps as (function NAME (PARAM ...) BODY).

#include "script/syntax_tree.h"

#include <string>

namespace vorpane::script {

std::string dumpTree(const SyntaxNode* node);
std::string dumpFunction(const FunctionDef& function);

} // namespace vorpane::script
