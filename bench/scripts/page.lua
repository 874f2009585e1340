-- Like a long sheet script: a table of 60 skills laid out in two columns, 20,000 times. Each row's
-- place and style come from small functions with several arguments, over an array of values,
-- with comparisons choosing between them.
local function column(n, rows)
    if n < rows then
        return 0
    end
    return 1
end
local function rowTop(n, rows, top, height)
    return top + (n % rows) * height
end
local function style(value, base, hard, extreme)
    if value >= extreme then
        return 3
    end
    if value >= hard then
        return 2
    end
    if value > base then
        return 1
    end
    return 0
end
local function page(count, rounds)
    local values = {}
    local i = 0
    while i < count do
        values[i + 1] = (i * 37) % 100
        i = i + 1
    end
    local rows = count // 2
    local sum, r = 0, 0
    while r < rounds do
        i = 0
        while i < count do
            local x = 20 + column(i, rows) * 95
            local y = rowTop(i, rows, 40, 4.5)
            local s = style(values[i + 1], 25, 50, 75)
            if s > 1 then
                sum = sum + y
            elseif x < 100 then
                sum = sum + s
            else
                sum = sum - 1
            end
            i = i + 1
        end
        r = r + 1
    end
    return sum
end
page(60, 20000)
