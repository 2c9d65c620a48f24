# Writes the IP-enabled network adapters of this Windows machine, as WMI lists them, to the file
# given: one line each, its Description, a tab, and its DNS servers joined by commas. The
# end-to-end test of quorvel.exe on the real WMI compares the window with this list (it reads
# the file that QUORVEL_EXPECTED_ADAPTERS names). It only reads; nothing is changed.
#   pwsh scripts/expected-adapters.ps1 build/msvc/expected-adapters.txt
param([Parameter(Mandatory = $true)] [string] $Path)
$ErrorActionPreference = 'Stop'

$lines = @(Get-CimInstance -ClassName Win32_NetworkAdapterConfiguration -Filter 'IPEnabled=TRUE' |
    # The window lists only adapters that have a description: nothing else could name them.
    Where-Object { $null -ne $_.Description } |
    ForEach-Object { $_.Description + "`t" + (@($_.DNSServerSearchOrder) -join ',') })
# .NET resolves a relative path against the process's folder, not PowerShell's location.
$full = [System.IO.Path]::GetFullPath((Join-Path (Get-Location) $Path))
# UTF-8 without a byte order mark, the same from Windows PowerShell 5 and PowerShell 7.
[System.IO.File]::WriteAllLines($full, [string[]] $lines, (New-Object System.Text.UTF8Encoding $false))
Write-Output "$($lines.Count) IP-enabled adapters written to $full"
