-- 100,000 elements stored and summed, spread over two arrays of 50,000 like the script version.
local function fill(a, n)
    local i = 0
    while i < n do
        a[i + 1] = i
        i = i + 1
    end
    return a
end
local function total(a, n)
    local i, sum = 0, 0
    while i < n do
        sum = sum + a[i + 1]
        i = i + 1
    end
    return sum
end
local function arrays()
    local first = fill({}, 50000)
    local second = fill({}, 50000)
    return total(first, 50000) + total(second, 50000)
end
arrays()
