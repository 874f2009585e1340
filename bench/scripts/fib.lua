-- Naive recursive Fibonacci of 30.
local function fib(n)
    if n < 2 then
        return n
    end
    local a = fib(n - 1)
    local b = fib(n - 2)
    return a + b
end
fib(30)
