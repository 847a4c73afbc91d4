{ chm_compiler PROJECT.hhp OUTPUT.chm

  Compiles an HTML Help project into a CHM file with Free Pascal's chm
  library, the library behind chmcmd, and mends what chmcmd leaves wrong:

  - context numbers map to the page names inside the file ("index.htm"),
    never to the build folder ("/home/me/build/ui/help/index.htm"), so any
    reader resolves them and the file does not depend on where it was built;
  - the sources are read as windows-1252, the code page of the project's
    French language id, so the keyword index keeps its accented letters;
  - the file carries no time of day: the two time stamps are taken from
    SOURCE_DATE_EPOCH when it is set, else 0, and the library's buffers are
    zeroed, so it never writes leftover memory (the keyword map's first
    word) into the file. Two builds of the same sources give the same bytes.

  Exit code 0 with the file written, 1 with a message on any failure. }
program chm_compiler;

{$mode objfpc}{$H+}

uses
  cwstring, SysUtils, Classes, DateUtils, chmbase, chmreader, chmwriter, chmfilewriter;

type
  THelpProject = class(TChmProject)
  public
    procedure WriteChm(AOutStream: TStream); override;
  end;

var
  LibraryMemory: TMemoryManager;

{ Every block the library gets starts zeroed, grown blocks included. }
function ZeroedGetMem(Size: PtrUInt): Pointer;
begin
  Result := LibraryMemory.GetMem(Size);
  if Result <> nil then FillChar(Result^, Size, 0);
end;

function ZeroedReAllocMem(var P: Pointer; Size: PtrUInt): Pointer;
var
  Old: PtrUInt;
begin
  if P = nil then Old := 0 else Old := LibraryMemory.MemSize(P);
  Result := LibraryMemory.ReAllocMem(P, Size);
  if (Result <> nil) and (Size > Old) then FillChar((PByte(Result) + Old)^, Size - Old, 0);
end;

procedure UseZeroedMemory;
var
  Zeroed: TMemoryManager;
begin
  GetMemoryManager(LibraryMemory);
  Zeroed := LibraryMemory;
  Zeroed.GetMem := @ZeroedGetMem;
  Zeroed.ReAllocMem := @ZeroedReAllocMem;
  SetMemoryManager(Zeroed);
end;

{ The library's own writing, except that each context number is stored with
  the page's name as listed in the project instead of its full path. }
procedure THelpProject.WriteChm(AOutStream: TStream);
var
  Writer: TChmWriter;
  Node: TChmContextNode;
  I: Integer;
begin
  LoadSitemaps;
  if ScanHtmlContents then ScanHtml;
  Writer := TChmWriter.Create(AOutStream, False);
  try
    Writer.OnGetFileData := @GetData;
    Writer.OnLastFile := @LastFileAdded;
    Writer.FilesToCompress.AddStrings(Files);
    Writer.FilesToCompress.AddStrings(OtherFiles);
    Writer.DefaultPage := DefaultPage;
    Writer.Title := Title;
    Writer.DefaultFont := DefaultFont;
    Writer.FullTextSearch := MakeSearchable;
    Writer.HasBinaryTOC := MakeBinaryTOC;
    Writer.HasBinaryIndex := MakeBinaryIndex;
    Writer.IndexName := IndexFileName;
    Writer.TocName := TableOfContentsFileName;
    Writer.ReadmeMessage := ReadmeMessage;
    Writer.DefaultWindow := DefaultWindow;
    Writer.LocaleID := LocaleID;
    for I := 0 to Files.Count - 1 do
    begin
      if not FileExists(ProjectDir + Files[I]) then
        raise Exception.CreateFmt('%s lists %s, which does not exist', [FileName, Files[I]]);
      Node := TChmContextNode(Files.Objects[I]);
      if Assigned(Node) and (Node.ContextNumber <> 0) then
        Writer.AddContext(Node.ContextNumber, Files[I]);
    end;
    if Windows.Count > 0 then Writer.Windows := Windows;
    if MergeFiles.Count > 0 then Writer.MergeFiles := MergeFiles;
    Writer.Execute;
  finally
    Writer.Free;
  end;
end;

{ Milliseconds into the day of SOURCE_DATE_EPOCH, the only time the file
  format records; 0 without it. }
function BuildTime: LongWord;
var
  Epoch: Int64;
begin
  Result := 0;
  if TryStrToInt64(GetEnvironmentVariable('SOURCE_DATE_EPOCH'), Epoch) and (Epoch >= 0) then
    Result := MilliSecondOfTheDay(UnixToDateTime(Epoch));
end;

{ Writes the build time over the two clock readings of the writer: the file
  header's (big-endian, at 0x10) and the first #SYSTEM record (code 10),
  which lies uncompressed in content section 0. }
procedure StampTime(Output: TMemoryStream; Stamp: LongWord);
const
  HeaderTime = $10;
  ContentOffset = $58;
var
  Reader: TITSFReader;
  Bytes: PByte;
  At: QWord;
begin
  Bytes := PByte(Output.Memory);
  PLongWord(Bytes + HeaderTime)^ := NToBE(Stamp);
  Reader := TITSFReader.Create(Output, False);
  try
    if Reader.ObjectExists('/#SYSTEM') = 0 then raise Exception.Create('the file has no #SYSTEM');
    if Reader.CachedEntry.ContentSection <> 0 then raise Exception.Create('#SYSTEM is compressed');
    At := LEtoN(PQWord(Bytes + ContentOffset)^) + Reader.CachedEntry.ContentOffset;
    if (At + 12 > QWord(Output.Size)) or (LEtoN(PWord(Bytes + At + 4)^) <> 10) then
      raise Exception.Create('#SYSTEM does not start with its time record');
    PLongWord(Bytes + At + 8)^ := NToLE(Stamp);
  finally
    Reader.Free;
  end;
end;

var
  Project: THelpProject;
  Output: TMemoryStream;
begin
  UseZeroedMemory;
  DefaultSystemCodePage := 1252;
  if ParamCount <> 2 then
  begin
    WriteLn(StdErr, 'usage: chm_compiler PROJECT.hhp OUTPUT.chm');
    Halt(2);
  end;
  try
    if not FileExists(ParamStr(1)) then
      raise Exception.CreateFmt('%s does not exist', [ParamStr(1)]);
    Project := THelpProject.Create;
    Output := TMemoryStream.Create;
    Project.LoadFromhhp(ParamStr(1), False);
    Project.WriteChm(Output);
    StampTime(Output, BuildTime);
    Output.SaveToFile(ParamStr(2));
  except
    on E: Exception do
    begin
      WriteLn(StdErr, 'chm_compiler: ', E.Message);
      Halt(1);
    end;
  end;
end.
