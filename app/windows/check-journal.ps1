# Checks the journal of a Tavlo drawing (Tavlo.log) line by line, as
# scripts/check-journal.py does: each line's hash is the SHA-256 of its text
# before " hash=", each line names the hash of the line before it ("prev"),
# and the numbers follow each other. Names the first line that breaks the
# chain, points out every clearing and every Tavlo.ini changed between two
# runs, and prints the last hash. Runs on the PowerShell that comes with
# Windows; saved as UTF-8 with a byte order mark, which it needs to read the
# Japanese texts.
#
#   powershell -NoProfile -ExecutionPolicy Bypass -File check-journal.ps1 [Tavlo.log]
param([string]$Path = (Join-Path $PSScriptRoot 'Tavlo.log'))

$NoHash = '0' * 64
$LinePattern = [regex]'^(\d+) (\S+) (\S+)((?: \S+=\S*)*) prev=([0-9a-f]{64}) hash=([0-9a-f]{64})$'
$Sha = [System.Security.Cryptography.SHA256]::Create()
$Utf8 = New-Object System.Text.UTF8Encoding($false)

function Get-Sha256([string]$Text) {
    ($Sha.ComputeHash($Utf8.GetBytes($Text)) | ForEach-Object { $_.ToString('x2') }) -join ''
}

# A journal line's parts, or $null for what is no journal line.
function Read-JournalLine([string]$Text) {
    $match = $LinePattern.Match($Text)
    if (-not $match.Success) { return $null }
    $fields = @{}
    foreach ($field in ($match.Groups[4].Value.Trim() -split ' ')) {
        if ($field) {
            $key, $value = $field -split '=', 2
            $fields[$key] = $value
        }
    }
    $body = $Text.Substring(0, $Text.LastIndexOf(' hash='))
    [pscustomobject]@{
        Sequence = [long]$match.Groups[1].Value
        Time     = $match.Groups[2].Value
        Event    = $match.Groups[3].Value
        Fields   = $fields
        Prev     = $match.Groups[5].Value
        Hash     = $match.Groups[6].Value
        Sound    = (Get-Sha256 $body) -ceq $match.Groups[6].Value
    }
}

function Stop-Broken([int]$Index, [string]$Reason) {
    Write-Output "$Index 行目で記録のつながりが切れています: $Reason"
    exit 1
}

if (-not (Test-Path -LiteralPath $Path -PathType Leaf)) {
    Write-Output "$Path がありません"
    exit 2
}
$text = $Utf8.GetString([System.IO.File]::ReadAllBytes((Resolve-Path -LiteralPath $Path).ProviderPath))
$lines = New-Object 'System.Collections.Generic.List[string]'
foreach ($raw in ($text -split "`n")) { $lines.Add($raw.TrimEnd([char]13)) }
$endsWhole = $lines[$lines.Count - 1] -eq ''
if ($endsWhole) { $lines.RemoveAt($lines.Count - 1) }

$last = $null
$closedIni = $null
$torn = @()
for ($i = 0; $i -lt $lines.Count; $i++) {
    $index = $i + 1
    $line = Read-JournalLine $lines[$i]
    if ($null -eq $line) {
        if ($index -eq $lines.Count -and -not $endsWhole) {
            $torn += $index
            break
        }
        $next = $null
        if ($index -lt $lines.Count) { $next = Read-JournalLine $lines[$index] }
        if ($null -ne $next -and $next.Fields['torn'] -eq '1') {
            $torn += $index
            continue
        }
        Stop-Broken $index '記録の行ではありません'
    }
    if (-not $line.Sound) { Stop-Broken $index '行の内容が書き換えられています（ハッシュが合いません）' }
    $expectedPrev = $NoHash
    $expectedSequence = 1
    if ($null -ne $last) {
        $expectedPrev = $last.Hash
        $expectedSequence = $last.Sequence + 1
    }
    if ($line.Prev -cne $expectedPrev) {
        if ($line.Fields['restart'] -eq '1') {
            Stop-Broken $index '前の行が読めなかったため、ここから記録をつなぎ直しています'
        }
        Stop-Broken $index '前の行に続いていません（行が削除・追加・入れ替えされています）'
    }
    if ($line.Sequence -ne $expectedSequence) {
        Stop-Broken $index "番号が $($line.Sequence) です（$expectedSequence のはずです）"
    }
    if ($line.Event -eq 'OPEN' -and $null -ne $closedIni -and $line.Fields['ini'] -ne $closedIni) {
        Write-Output "$index 行目: 前回の終了のあとで Tavlo.ini が書き換えられています"
    }
    if ($line.Event -eq 'CLEAR') {
        Write-Output "$index 行目: $($line.Time) に $($line.Fields['forgotten']) 件の抽選結果がクリアされました"
    }
    $closedIni = $null
    if ($line.Event -eq 'CLOSE') { $closedIni = $line.Fields['ini'] }
    $last = $line
}
foreach ($index in $torn) {
    Write-Output "$index 行目: 途中で止まった書き込みの行です（記録はその前の行から続いています）"
}
if ($null -eq $last) {
    Write-Output "${Path}: まだ記録の行がありません"
    exit 0
}
Write-Output "${Path}: $($last.Sequence) 件の記録。つながりは保たれています"
Write-Output "最後のハッシュ: $($last.Hash)"
Write-Output "読み上げる8桁: $($last.Hash.Substring(0, 8).ToUpper())"
exit 0
