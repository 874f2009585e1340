-- Like a sheet script: one function called 100,000 times with six arguments, doing arithmetic
-- and comparisons.
local function score(str, con, siz, dex, app, edu)
    local hp, bonus
    hp = (con + siz) // 2
    if str + siz < 13 then
        bonus = -1
    elseif str + siz < 25 then
        bonus = 0
    else
        bonus = 1
    end
    if dex > app then
        hp = hp + 1
    end
    return hp * 2 + bonus + edu % 7
end
local function sheet()
    local i, sum = 0, 0
    while i < 100000 do
        sum = sum + score(i % 18, 10, 12, i % 15, 9, 14)
        i = i + 1
    end
    return sum
end
sheet()
