-- A counting loop with function-local variables.
local function loop(n)
    local sum = 0
    for i = 0, n - 1 do
        sum = sum + i % 7
    end
    return sum
end
loop(3000000)
