/* The script grammar. Each action is one line calling a named builder of ParseContext; the
   structure of the tree (right-recursive statement lists, sequence chains) is the contract with
   the interpreter, which walks sequences in a loop. */

%define api.pure full
%define api.prefix {vpscript_}
%define parse.error simple
%parse-param {vorpane::script::ParseContext& ctx} {void* scanner}
%lex-param {void* scanner}

/* The one inherent conflict: "if (a) if (b) x; else y;" - the else binds to the nearest if. */
%expect 1

%code requires {
#include "script/parse_context.h"
}

%code {
int vpscript_lex(VPSCRIPT_STYPE* value, void* scanner);

static void vpscript_error(vorpane::script::ParseContext& ctx, void*, const char* message)
{
    ctx.report(message);
}

using vorpane::script::NodeKind;

// Stacks of 200 entries doubled up to 10000; the blocks belong to the context, so a parse that
// ends by an exception frees them too. Running out is reported as "yacc stack overflow".
#define YYINITDEPTH 200
#define YYMAXDEPTH 10000
#define YYSTACK_ALLOC(Bytes) ctx.allocateParserStack(Bytes)
#define YY_(Message) vorpane::script::parserMessage(Message)

static_assert(YYINITDEPTH == vorpane::script::kInitialParserDepth);
static_assert(YYMAXDEPTH == vorpane::script::kMaxParserDepth);

// A bad literal has been reported by its builder; the parse stops there.
#define REQUIRE(Node) do { if (!(Node)) YYABORT; } while (0)
}

%union {
    vorpane::script::SyntaxNode* node;
    vorpane::script::TokenSpan token;
    int assignKind;
}

%token FUNCTION IF ELSE FOR WHILE RETURN BREAK CONTINUE NEW VAR
%token <assignKind> ASSIGN_OP
%token OR_OR AND_AND EQUAL NOT_EQUAL LESS_EQUAL GREATER_EQUAL SHIFT_LEFT SHIFT_RIGHT INCREMENT DECREMENT
%token <token> IDENTIFIER STRING DECIMAL OCTAL HEX FLOAT

%type <node> elements function_body declarations declarator_list declarator block statements
%type <node> statement if_statement for_statement while_statement optional_expression expression
%type <node> assignment target conditional or_expression and_expression bit_or_expression
%type <node> xor_expression bit_and_expression equality_expression relational_expression
%type <node> shift_expression additive_expression multiplicative_expression unary postfix primary
%type <node> function_call constructor method_call member index identifier literal
%type <assignKind> assignment_operator

%start program

%%

program
    : declarations elements                 { ctx.finish(ctx.sequence($1, $2)); }
    | elements                              { ctx.finish(ctx.sequence($1, nullptr)); }
    ;

elements
    : function_declaration elements         { $$ = $2; }
    | statement elements                    { $$ = ctx.sequence($1, $2); }
    | %empty                                { $$ = nullptr; }
    ;

function_declaration
    : FUNCTION identifier '(' parameters ')' function_body  { ctx.declareFunction($2, $6); }
    ;

parameters
    : parameters ',' identifier             { ctx.addParameter($3); }
    | identifier                            { ctx.beginParameters(); ctx.addParameter($1); }
    | %empty                                { ctx.beginParameters(); }
    ;

function_body
    : '{' declarations statements '}'       { $$ = ctx.sequence($2, $3); }
    | '{' declarations '}'                  { $$ = $2; }
    | block
    ;

declarations
    : VAR declarator_list ';' declarations  { $$ = ctx.sequence($2, $4); }
    | VAR declarator_list ';'               { $$ = $2; }
    ;

declarator_list
    : declarator ',' declarator_list        { $$ = ctx.node(NodeKind::VarList, $1, $3); }
    | declarator                            { $$ = ctx.node(NodeKind::VarList, $1); }
    ;

declarator
    : identifier '=' conditional            { $$ = ctx.node(NodeKind::Declarator, $1, $3); }
    | identifier                            { $$ = ctx.node(NodeKind::Declarator, $1); }
    ;

block
    : '{' statements '}'                    { $$ = $2; }
    | '{' '}'                               { $$ = nullptr; }
    | statement
    ;

statements
    : statement statements                  { $$ = ctx.sequence($1, $2); }
    | statement                             { $$ = ctx.sequence($1, nullptr); }
    ;

statement
    : if_statement
    | for_statement
    | while_statement
    | RETURN expression ';'                 { $$ = ctx.node(NodeKind::Return, $2); }
    | RETURN ';'                            { $$ = ctx.node(NodeKind::Return); }
    | BREAK ';'                             { $$ = ctx.node(NodeKind::Break); }
    | CONTINUE ';'                          { $$ = ctx.node(NodeKind::Continue); }
    | expression ';'                        { $$ = $1; }
    | ';'                                   { $$ = nullptr; }
    ;

if_statement
    : IF '(' expression ')' block           { $$ = ctx.node(NodeKind::If, $3, $5); }
    | IF '(' expression ')' block ELSE block  { $$ = ctx.node(NodeKind::If, $3, $5, $7); }
    ;

for_statement
    : FOR '(' optional_expression ';' optional_expression ';' optional_expression ')' block
                                            { $$ = ctx.node(NodeKind::For, $3, $5, $7, $9); }
    ;

while_statement
    : WHILE '(' expression ')' block        { $$ = ctx.node(NodeKind::While, $3, $5); }
    ;

optional_expression
    : expression
    | %empty                                { $$ = nullptr; }
    ;

expression
    : assignment
    | expression ',' assignment             { $$ = ctx.node(NodeKind::Comma, $1, $3); }
    ;

assignment
    : conditional
    | target assignment_operator assignment { $$ = ctx.node(NodeKind($2), $1, $3); }
    ;

assignment_operator
    : '='                                   { $$ = int(NodeKind::Assign); }
    | ASSIGN_OP
    ;

target
    : identifier
    | member
    | index
    ;

conditional
    : or_expression
    | or_expression '?' expression ':' conditional  { $$ = ctx.node(NodeKind::Conditional, $1, $3, $5); }
    ;

or_expression
    : and_expression
    | or_expression OR_OR and_expression    { $$ = ctx.node(NodeKind::LogicalOr, $1, $3); }
    ;

and_expression
    : bit_or_expression
    | and_expression AND_AND bit_or_expression  { $$ = ctx.node(NodeKind::LogicalAnd, $1, $3); }
    ;

bit_or_expression
    : xor_expression
    | bit_or_expression '|' xor_expression  { $$ = ctx.node(NodeKind::BitwiseOr, $1, $3); }
    ;

xor_expression
    : bit_and_expression
    | xor_expression '^' bit_and_expression { $$ = ctx.node(NodeKind::BitwiseXor, $1, $3); }
    ;

bit_and_expression
    : equality_expression
    | bit_and_expression '&' equality_expression  { $$ = ctx.node(NodeKind::BitwiseAnd, $1, $3); }
    ;

equality_expression
    : relational_expression
    | equality_expression EQUAL relational_expression      { $$ = ctx.node(NodeKind::Equal, $1, $3); }
    | equality_expression NOT_EQUAL relational_expression  { $$ = ctx.node(NodeKind::NotEqual, $1, $3); }
    ;

relational_expression
    : shift_expression
    | relational_expression '<' shift_expression            { $$ = ctx.node(NodeKind::Less, $1, $3); }
    | relational_expression LESS_EQUAL shift_expression     { $$ = ctx.node(NodeKind::LessEqual, $1, $3); }
    | relational_expression GREATER_EQUAL shift_expression  { $$ = ctx.node(NodeKind::GreaterEqual, $1, $3); }
    | relational_expression '>' shift_expression            { $$ = ctx.node(NodeKind::Greater, $1, $3); }
    ;

shift_expression
    : additive_expression
    | shift_expression SHIFT_LEFT additive_expression   { $$ = ctx.node(NodeKind::ShiftLeft, $1, $3); }
    | shift_expression SHIFT_RIGHT additive_expression  { $$ = ctx.node(NodeKind::ShiftRight, $1, $3); }
    ;

additive_expression
    : multiplicative_expression
    | additive_expression '+' multiplicative_expression  { $$ = ctx.node(NodeKind::Add, $1, $3); }
    | additive_expression '-' multiplicative_expression  { $$ = ctx.node(NodeKind::Subtract, $1, $3); }
    ;

multiplicative_expression
    : unary
    | multiplicative_expression '*' unary   { $$ = ctx.node(NodeKind::Multiply, $1, $3); }
    | multiplicative_expression '/' unary   { $$ = ctx.node(NodeKind::Divide, $1, $3); }
    | multiplicative_expression '%' unary   { $$ = ctx.node(NodeKind::Remainder, $1, $3); }
    ;

unary
    : postfix
    | INCREMENT unary                       { $$ = ctx.node(NodeKind::PreIncrement, $2); }
    | DECREMENT unary                       { $$ = ctx.node(NodeKind::PreDecrement, $2); }
    | '-' unary                             { $$ = ctx.node(NodeKind::Negate, $2); }
    | '!' unary                             { $$ = ctx.node(NodeKind::LogicalNot, $2); }
    | '~' unary                             { $$ = ctx.node(NodeKind::BitwiseNot, $2); }
    ;

postfix
    : primary
    | identifier
    | postfix INCREMENT                     { $$ = ctx.node(NodeKind::PostIncrement, $1); }
    | postfix DECREMENT                     { $$ = ctx.node(NodeKind::PostDecrement, $1); }
    ;

primary
    : '(' expression ')'                    { $$ = $2; }
    | method_call
    | member
    | function_call
    | literal
    | NEW constructor                       { $$ = ctx.node(NodeKind::New, $2); }
    | index
    ;

function_call
    : identifier '(' arguments ')'          { $$ = ctx.finishArguments(NodeKind::Call, $1); }
    ;

constructor
    : identifier '(' arguments ')'          { $$ = ctx.finishArguments(NodeKind::Constructor, $1); }
    | identifier                            { $$ = ctx.node(NodeKind::Constructor, $1); }
    ;

method_call
    : postfix '.' identifier '(' arguments ')'  { $$ = ctx.finishArguments(NodeKind::MethodCall, $1, $3); }
    ;

member
    : postfix '.' identifier                { $$ = ctx.node(NodeKind::Member, $1, $3); }
    ;

index
    : postfix '[' expression ']'            { $$ = ctx.node(NodeKind::Index, $1, $3); }
    ;

arguments
    : arguments ',' assignment              { ctx.addArgument($3); }
    | assignment                            { ctx.beginArguments(); ctx.addArgument($1); }
    | %empty                                { ctx.beginArguments(); }
    ;

/* Literals and names are converted as the parser takes their token in; a bad one stops the parse. */
identifier
    : IDENTIFIER                            { $$ = ctx.identifier($1); REQUIRE($$); }
    ;

literal
    : STRING                                { $$ = ctx.stringLiteral($1); REQUIRE($$); }
    | DECIMAL                               { $$ = ctx.decimalLiteral($1); }
    | OCTAL                                 { $$ = ctx.octalLiteral($1); }
    | HEX                                   { $$ = ctx.hexLiteral($1); }
    | FLOAT                                 { $$ = ctx.floatLiteral($1); }
    ;

%%
