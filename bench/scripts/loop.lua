-- A while loop adding the integers 0 to 9,999,999 in function-local variables.
local function loop()
    local i, sum = 0, 0
    while i < 10000000 do
        sum = sum + i
        i = i + 1
    end
    return sum
end
loop()
