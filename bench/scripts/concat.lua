-- A text built from 100,000 short pieces.
local function concat()
    local s, i = "", 0
    while i < 100000 do
        s = s .. "ab"
        i = i + 1
    end
    return i
end
concat()
