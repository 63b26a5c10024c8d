@echo off
rem The first run of tarvexjni on a Windows machine: FirstRun.java's checks, each in a JVM of its
rem own under -Xcheck:jni, with the release's jars beside this file. Writes one report file here,
rem tarvexjni-first-run-<time>.txt, to send back.
rem   first-run.cmd                         with %JAVA_HOME%, else the java on PATH
rem   first-run.cmd C:\jdk-17 C:\jdk-21 ... every check with each of these JDKs
setlocal
set "here=%~dp0"
set "java=java"
if not "%~1"=="" set "java=%~1\bin\java.exe"
if "%~1"=="" if not "%JAVA_HOME%"=="" set "java=%JAVA_HOME%\bin\java.exe"
"%java%" -version >nul 2>&1
if errorlevel 1 (
  echo first-run: no Java at "%java%": install a JDK 17 or later ^(Temurin x64^) and set JAVA_HOME, or name JDK folders
  exit /b 2
)
"%java%" -cp "%here%tarvexjni.jar;%here%tarvexjni-standin.jar" "%here%FirstRun.java" "%here%." %*
exit /b %errorlevel%
