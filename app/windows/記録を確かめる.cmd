@echo off
rem Checks Tavlo.log beside this file, or the journal dropped on it.
powershell -NoProfile -ExecutionPolicy Bypass -File "%~dp0check-journal.ps1" %*
pause
